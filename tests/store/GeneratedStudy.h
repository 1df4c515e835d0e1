#pragma once
// A generated study, written as the import tables, for tests that compare a
// whole export with files kept beside them. Deterministic: the same count
// gives the same bytes. Besides ordinary calls it holds what the genotype
// table must get right at scale: results of one subject far apart and out of
// order, subject IDs that differ only in case or exceed eleven characters,
// second readings that complete or contradict the first, results without a
// subject or excluded, excluded and unknown alleles, loci with no, one or too
// many alleles, loci outside the locus list, and text needing CSV quotes.

#include <string>

#include "workstation/store/StudyTables.h"

namespace workstation::testing {

// Writes fragments.tsv, results.tsv and subjects.tsv into folder.
StudyTableFiles WriteGeneratedStudy(int subjects, const std::string& folder);
// The locus list that goes with it: four loci of the study, one in other
// case, and one no subject has.
std::string GeneratedLocusList();
// Where got first parts from want: the line, and both from its start.
std::string FirstDifference(const std::string& got, const std::string& want);

}  // namespace workstation::testing
