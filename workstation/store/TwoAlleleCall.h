#pragma once
// A two-allele genotype of a format without fragments (Genepop, Linkage) as
// the store keeps it: one fragment for each distinct allele, and one
// fragment without an allele when both are missing, which the exports read
// as a locus with no call. A homozygote is one fragment, as the fragment
// tables hold it.

#include <string>
#include <string_view>

#include "workstation/store/ImportedStudy.h"

namespace workstation {

// Appends the genotype's fragments at `locus` to `result`; `missing` says
// whether an allele field of the format stands for no allele.
template <typename IsMissing>
void addTwoAlleleCall(ImportedResult& result, const std::string& locus, std::string_view first,
                      std::string_view second, IsMissing missing) {
  const auto call = [&](std::string_view allele) {
    StoredFragment& f = result.fragments.emplace_back();
    f.locus = locus;
    f.alleleId = std::string(allele);
  };
  const bool firstMissing = missing(first);
  const bool secondMissing = missing(second);
  if (firstMissing && secondMissing) call("");
  if (!firstMissing) call(first);
  if (!secondMissing && (firstMissing || second != first)) call(second);
}

}  // namespace workstation
