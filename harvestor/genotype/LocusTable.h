#pragma once
// The loci of one individual, found by name without regard to case. A lookup
// first tries the locus found last and the one after it, since fragments and
// locus lists name an individual's loci in the same order again and again,
// and otherwise probes a hash table of the folded names: constant time either
// way, and a few bytes a locus besides the locus itself.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "harvestor/genotype/GenoLocus.h"

namespace harvestor {

class LocusTable {
 public:
  std::size_t Count() const { return loci_.size(); }
  // The locus of that name, or null.
  const GenoLocusPtr* Find(std::string_view name) const;
  // Adds a locus whose name the table does not hold yet.
  void Add(GenoLocusPtr locus);

 private:
  void Index(std::uint32_t position);
  void Grow();

  std::vector<GenoLocusPtr> loci_;
  std::vector<std::uint32_t> slots_;  // 0 for a free slot, else the locus's position + 1
  mutable std::size_t last_ = 0;      // where the last lookup found its locus
};

}  // namespace harvestor
