#pragma once
// The loci of one individual, found by name without regard to case. A lookup
// first tries the locus found last and the one after it, since fragments and
// locus lists name an individual's loci in the same order again and again,
// and otherwise probes a hash table of the folded names: constant time either
// way for the first 65,535 loci, and four bytes a locus besides the locus
// itself. Loci past those are found by a walk. The loci are held in
// place, one allocation for all of them, so a pointer Find returns is good
// until the next Add.

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
  const GenoLocus* Find(std::string_view name) const;
  GenoLocus* Find(std::string_view name) {
    return const_cast<GenoLocus*>(static_cast<const LocusTable&>(*this).Find(name));
  }
  // Room for that many loci in all, so that adding up to them moves or
  // rehashes nothing; a pointer Find returned is no longer good when room
  // was made.
  void Reserve(std::size_t loci);
  // Adds a locus, without alleles, whose name the table does not hold yet.
  GenoLocus& Add(const std::string& name);
  // The locus of that name, added without alleles when the table has none:
  // Find then Add with one hash of the name.
  GenoLocus& FindOrAdd(const std::string& name);

 private:
  // The locus found by the quick checks or by probing from the name's slot;
  // at a miss, *free is the free slot the probe ended at.
  const GenoLocus* Probe(std::string_view name, std::size_t* free) const;
  GenoLocus& Place(const std::string& name, std::size_t free);
  void Index(std::uint32_t position);
  void Grow(std::size_t loci);

  std::vector<GenoLocus> loci_;
  std::vector<std::uint16_t> slots_;  // 0 for a free slot, else the locus's position + 1
  mutable std::size_t last_ = 0;      // where the last lookup found its locus
};

}  // namespace harvestor
