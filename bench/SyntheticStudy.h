#pragma once
// A synthetic study of the benchmark's shape: subjects with two results each,
// every locus called with two alleles, a few no-calls, excluded fragments and
// excluded results, and pedigree properties on every subject.

#include <memory>

#include "tests/fakes/FakeStudy.h"

namespace harvestor::bench {

std::shared_ptr<testing::FakeStudy> MakeSyntheticStudy(int subjects, int resultsPerSubject,
                                                       int loci);
// Locus names of the synthetic study, in order: L001, L002, ...
std::string SyntheticLocusName(int index);

}  // namespace harvestor::bench
