#include "harvestor/genotype/LocusTable.h"

#include <algorithm>

#include "harvestor/service/Text.h"

namespace harvestor {
namespace {
constexpr std::size_t kNoSlot = static_cast<std::size_t>(-1);
// A slot holds a position + 1 in 16 bits: the loci past the first this many
// are found by a walk, which only an individual typed at more loci than any
// study has pays for.
constexpr std::size_t kIndexed = 0xFFFF;
}  // namespace

const GenoLocus* LocusTable::Probe(std::string_view name, std::size_t* free) const {
  for (std::size_t at : {last_, last_ + 1}) {
    if (at < loci_.size() && EqualsNoCase(loci_[at].Name(), name)) {
      last_ = at;
      return &loci_[at];
    }
  }
  *free = kNoSlot;
  if (slots_.empty()) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = HashNoCase(name) & mask;; i = (i + 1) & mask) {
    const std::uint16_t slot = slots_[i];
    if (slot == 0) {
      *free = i;
      break;
    }
    if (EqualsNoCase(loci_[slot - 1].Name(), name)) {
      last_ = slot - 1;
      return &loci_[last_];
    }
  }
  for (std::size_t at = kIndexed; at < loci_.size(); ++at) {
    if (EqualsNoCase(loci_[at].Name(), name)) {
      last_ = at;
      return &loci_[at];
    }
  }
  return nullptr;
}

const GenoLocus* LocusTable::Find(std::string_view name) const {
  std::size_t free = kNoSlot;
  return Probe(name, &free);
}

GenoLocus& LocusTable::Add(const std::string& name) { return Place(name, kNoSlot); }

GenoLocus& LocusTable::FindOrAdd(const std::string& name) {
  std::size_t free = kNoSlot;
  if (const GenoLocus* found = Probe(name, &free)) return const_cast<GenoLocus&>(*found);
  return Place(name, free);
}

void LocusTable::Reserve(std::size_t loci) {
  loci_.reserve(loci);
  if (slots_.size() < 2 * std::min(loci, kIndexed)) Grow(loci);
}

// Adds the locus; free is the slot a probe for its name ended at, if known.
GenoLocus& LocusTable::Place(const std::string& name, std::size_t free) {
  // Most individuals are typed at tens of loci: start with room for a few.
  if (loci_.empty()) loci_.reserve(8);
  loci_.emplace_back().Initialize(name);
  const auto position = static_cast<std::uint32_t>(loci_.size() - 1);
  // At most half the slots are taken, so a probe always ends at a free one.
  if (position >= kIndexed) {
    // Past the slots' reach: found by the walk.
  } else if (slots_.size() < 2 * loci_.size()) {
    Grow(loci_.size());
  } else if (free != kNoSlot) {
    slots_[free] = static_cast<std::uint16_t>(position + 1);
  } else {
    Index(position);
  }
  last_ = position;
  return loci_.back();
}

void LocusTable::Index(std::uint32_t position) {
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = HashNoCase(loci_[position].Name()) & mask;
  while (slots_[i] != 0) i = (i + 1) & mask;
  slots_[i] = static_cast<std::uint16_t>(position + 1);
}

// Sizes the slots for at least that many loci and indexes those held.
void LocusTable::Grow(std::size_t loci) {
  std::size_t size = slots_.empty() ? 16 : slots_.size();
  while (size < 2 * std::min(loci, kIndexed)) size *= 2;
  slots_.assign(size, 0);
  for (std::size_t p = 0; p < std::min(loci_.size(), kIndexed); ++p) {
    Index(static_cast<std::uint32_t>(p));
  }
}

}  // namespace harvestor
