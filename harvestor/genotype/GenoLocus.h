#pragma once
// One locus of one subject: its name and the distinct allele IDs called
// there, in the order they were first added. Allele IDs compare without
// regard to case, so A and a are one allele. A third distinct allele is kept;
// ToManyAlleles reports it.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "harvestor/service/Collection.h"
#include "harvestor/service/Int16.h"

namespace harvestor {

class GenoLocus {
 public:
  // Starts over with an empty allele collection under the given name.
  void Initialize(const std::string& strLocusName);
  std::string LocusName() const;
  // The name read in place, for lookups that run once per fragment.
  const std::string& Name() const { return m_strLocusName; }
  Int16 MaxAlleles() const;
  Int16 NumberOfAlleles() const;
  // The alleles as a collection keyed by allele ID, made when asked for.
  CollectionPtr<std::string> Alleles() const;
  // The allele at index (below NumberOfAlleles()), read in place.
  std::string_view AlleleID(std::size_t index) const;
  void AddAllele(const std::string& strAlleleID);
  bool ToManyAlleles() const;

 private:
  // Calls f(allele) for each allele in order until it answers true.
  template <class F>
  bool AnyAllele(F&& f) const;
  // How many alleles there are, counting no further than most.
  std::size_t Count(std::size_t most) const;

  std::string m_strLocusName;
  // Every allele ID, each after its length (seven bits a byte, the high bit
  // set on all but the last): a locus holds two short IDs, which fit in the
  // string itself, so a locus costs no allocation of its own and the
  // genotype table of a large study half the memory a list of strings a
  // locus would.
  // The count is not kept: a locus holds two or three, and counting them
  // costs less than the eight bytes a count takes in every locus of a large
  // study's table.
  std::string m_strAlleles;
};

using GenoLocusPtr = std::shared_ptr<GenoLocus>;

}  // namespace harvestor
