#include "workstation/store/LocusCollector.h"

#include "harvestor/service/Text.h"

namespace workstation {

void LocusCollector::add(std::string_view locus) {
  if (locus.empty() || asWritten_.find(locus) != asWritten_.end()) return;
  asWritten_.emplace(locus);
  if (folded_.insert(harvestor::LowerCase(locus)).second) loci_.emplace_back(locus);
}

}  // namespace workstation
