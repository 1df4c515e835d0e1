#pragma once
// Reads a Genepop file: a title line, the loci (one per line, or several on
// a line separated by commas), then "Pop" lines each opening a section of
// individuals written "name , genotype genotype ...", one genotype per
// locus, each of two alleles of 2 digits ("0912") or 3 digits ("009012")
// throughout the file; an allele of zeros is missing.
//
// Each individual is a subject with one result of its name; each non-missing
// allele a fragment of its locus with the digits as written as allele ID (a
// homozygote one fragment); a genotype of zeros a fragment without an allele
// ID (a locus with no call). The format has no sizes, heights, areas or dyes:
// fragments keep the fragment table's defaults. Every subject of a section
// gets the section's population as "Population ID" and "Pedigree ID": Pop1,
// Pop2, ... in file order, or the name that a populations table (columns
// "Subject ID" and "Population ID") gives the section's individuals.

#include <string>
#include <vector>

#include "workstation/store/ImportedStudy.h"

namespace workstation {

class GenepopReader {
 public:
  // An empty populationsPath names the sections Pop1, Pop2, ...
  GenepopReader(std::string path, std::string populationsPath);

  // Streams the individuals to `add`, in file order. Throws ImportError
  // naming the file, line and column at the first bad value. With a
  // populations table the file is read twice: once to name the sections,
  // once to hand on the individuals, so memory never holds a section.
  void read(const ResultSink& add);
  // The file's loci in file order, once read() has run.
  const std::vector<std::string>& loci() const { return loci_; }

 private:
  struct Individual;
  template <class Visit>
  void scan(Visit visit);
  std::vector<std::string> sectionNames();

  std::string path_, populations_;
  std::vector<std::string> loci_;
};

}  // namespace workstation
