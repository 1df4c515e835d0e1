#include "harvestor/genotype/LocusTable.h"

#include "harvestor/service/Text.h"

namespace harvestor {

const GenoLocus* LocusTable::Find(std::string_view name) const {
  for (std::size_t at : {last_, last_ + 1}) {
    if (at < loci_.size() && EqualsNoCase(loci_[at].Name(), name)) {
      last_ = at;
      return &loci_[at];
    }
  }
  if (slots_.empty()) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = HashNoCase(name) & mask;; i = (i + 1) & mask) {
    const std::uint32_t slot = slots_[i];
    if (slot == 0) return nullptr;
    if (EqualsNoCase(loci_[slot - 1].Name(), name)) {
      last_ = slot - 1;
      return &loci_[last_];
    }
  }
}

GenoLocus& LocusTable::Add(const std::string& name) {
  // Most individuals are typed at tens of loci: start with room for a few.
  if (loci_.empty()) loci_.reserve(8);
  loci_.emplace_back().Initialize(name);
  // At most half the slots are taken, so a probe always ends at a free one.
  if (slots_.size() < 2 * loci_.size()) {
    Grow();
  } else {
    Index(static_cast<std::uint32_t>(loci_.size() - 1));
  }
  last_ = loci_.size() - 1;
  return loci_.back();
}

void LocusTable::Index(std::uint32_t position) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = HashNoCase(loci_[position].Name()) & mask;
  while (slots_[i] != 0) i = (i + 1) & mask;
  slots_[i] = position + 1;
}

void LocusTable::Grow() {
  std::size_t size = slots_.empty() ? 16 : slots_.size();
  while (size < 2 * loci_.size()) size *= 2;
  slots_.assign(size, 0);
  for (std::size_t p = 0; p < loci_.size(); ++p) Index(static_cast<std::uint32_t>(p));
}

}  // namespace harvestor
