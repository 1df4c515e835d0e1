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
  // The name read in place, for lookups that run once per fragment; good
  // until the locus next changes.
  std::string_view Name() const;
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
  // Appends text after its length.
  void Append(std::string_view text);
  // How many alleles there are, counting no further than most.
  std::size_t Count(std::size_t most) const;

  // The name, then every allele ID, each after its length (seven bits a
  // byte, the high bit set on all but the last). A locus of a short name
  // and two short IDs fits in the string itself, so it costs no allocation
  // of its own, and the genotype table of a large study, which holds a
  // locus for every subject and marker, takes half the memory a string for
  // the name and another for the alleles would. The count is not kept: a
  // locus holds two or three, and counting them costs less than the eight
  // bytes a count takes in every locus. A locus never initialized holds
  // the empty name.
  std::string m_strPacked = std::string(1, '\0');
};

using GenoLocusPtr = std::shared_ptr<GenoLocus>;

}  // namespace harvestor
