#pragma once
// One locus of one subject: its name and the distinct allele IDs called
// there, in the order they were first added. Allele IDs compare without
// regard to case, so A and a are one allele. A third distinct allele is kept;
// ToManyAlleles reports it.

#include <memory>
#include <string>
#include <vector>

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
  // The alleles in order, read in place: a locus holds two or three, so a
  // plain list costs far less than a keyed collection per locus.
  const std::vector<std::string>& AlleleIDs() const { return m_alleles; }
  void AddAllele(const std::string& strAlleleID);
  bool ToManyAlleles() const;

 private:
  std::string m_strLocusName;
  std::vector<std::string> m_alleles;
};

using GenoLocusPtr = std::shared_ptr<GenoLocus>;

}  // namespace harvestor
