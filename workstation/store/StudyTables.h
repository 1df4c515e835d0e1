#pragma once
// Reads a study from the tab-delimited tables a lab exports from its analysis
// software: fragments (required), results, subjects and traces (optional).
// Bad input is refused with the file name, line number and what is wrong.
//
// The study's order is the results table's, then the results that only the
// fragments table names, in order of their first rows; a result's fragments
// are its rows in file order, wherever they stand. The fragments table is
// read twice, a row at a time: once to find each result's rows and check
// its names and subject IDs, looking no further along a row than those, and
// once to hand each result over with its fragments. Memory holds a few facts
// per result, the subjects table's values (each repeated text once) and the
// traces, never the fragments of more than one result.
//
// A column of the subjects table other than "Subject ID" and "Result Name"
// is a property of the subjects; one close to a known column or to a
// property the exports read ("Pedigre ID") is stored as written and told to
// the warning sink. An unknown column of another table is refused.

#include <string>

#include "workstation/store/ColumnNames.h"
#include "workstation/store/ImportedStudy.h"

namespace workstation {

struct StudyTableFiles {
  std::string fragments;
  std::string results;   // optional
  std::string subjects;  // optional
  std::string traces;    // optional
};

class StudyTablesReader {
 public:
  explicit StudyTablesReader(StudyTableFiles files, ColumnWarning warn = {})
      : files_(std::move(files)), warn_(std::move(warn)) {}

  // Hands the results to `add` in the study's order. Throws ImportError
  // naming the file, line and column at a bad value: every table but the
  // fragments' values and numbers of fields is checked before the first
  // result is handed on, and a fragment's row as its result is read, so the
  // caller's transaction must undo what it was given when this throws.
  void read(const ResultSink& add) const;

 private:
  StudyTableFiles files_;
  ColumnWarning warn_;
};

// The whole study in memory, for small studies.
ImportedStudy readStudyTables(const std::string& studyName, const StudyTableFiles& files,
                              const ColumnWarning& warn = {});

}  // namespace workstation
