#pragma once
// Reads the wide allele-call table that fragment-analysis software exports:
// one row per sample and marker, tab- or comma-separated (a header holding a
// tab is tab-separated, else comma-separated, with CSV quoting). Columns,
// matched without regard to case: "Sample Name" and "Marker" (required),
// "Sample File" (the result's name; the sample name when absent or empty),
// "Dye" (a number, or B, G, Y, R, O for dyes 1 to 5), and "Allele 1",
// "Allele 2", ... each with optional "Size i", "Height i" and "Area i".
// Other columns are ignored, and each is told to the warning sink, with the
// column it lies close to if any ("Alele 1", "Sample_Name").
//
// Each non-empty allele cell is one fragment of the row's marker; a row whose
// alleles are all empty is one fragment without an allele ID (a marker with
// no call). Subjects are the sample names. What a row leaves empty keeps the
// fragment table's default (dye 1, size, height and area 0). A sample's rows
// may stand anywhere in the file, so results are gathered in memory and
// handed on once the file has been read whole; the file's lines are read one
// at a time.

#include <string>

#include "workstation/store/ColumnNames.h"
#include "workstation/store/ImportedStudy.h"

namespace workstation {

class CallTableReader {
 public:
  explicit CallTableReader(std::string path, ColumnWarning warn = {})
      : path_(std::move(path)), warn_(std::move(warn)) {}

  // Hands the results to `add` in the order their first rows appear. Throws
  // ImportError naming the file, line and column at the first bad value,
  // before anything is handed on.
  void read(const ResultSink& add) const;

 private:
  std::string path_;
  ColumnWarning warn_;
};

}  // namespace workstation
