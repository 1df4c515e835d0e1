#pragma once
// Reads a Linkage pre-makeped pedigree file, as the study export writes it,
// with the names of its loci (one per line, in column order). Each line is
// one individual: pedigree, individual, father, mother, gender, affectation
// status, liability class, then two allele columns per locus, separated by
// blanks. "?" and "0" stand for a missing value.
//
// Each individual becomes a subject, with one result of the same name, whose
// properties are the pedigree columns present ("Pedigree ID", "Father ID",
// "Mother ID", "Gender", "Affectation Status", "Liability Class"), and one
// fragment per distinct allele called at a locus; a locus with both alleles
// missing is a fragment without an allele ID (a locus with no call). The
// format has no sizes, heights, areas or dyes: fragments keep the fragment
// table's defaults (dye 1, size, height and area 0, divisor 1). Exporting
// what was imported writes the same Linkage lines again.

#include <string>
#include <vector>

#include "workstation/store/ImportedStudy.h"

namespace workstation {

class LinkageReader {
 public:
  // Reads and checks the locus names: each one non-empty, valid UTF-8
  // without control characters, and listed once (without regard to case).
  // An empty list is a file of pedigree columns only.
  LinkageReader(std::string pedigreePath, const std::string& lociPath);

  const std::vector<std::string>& loci() const { return loci_; }
  // Streams the individuals to `add`, in file order. Throws ImportError
  // naming the file, line and column at the first bad value.
  void read(const ResultSink& add) const;

 private:
  std::string path_;
  std::vector<std::string> loci_;
};

}  // namespace workstation
