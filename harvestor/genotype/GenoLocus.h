#pragma once
// One locus of one subject: its name and the distinct allele IDs called
// there, in the order they were first added. Allele IDs compare without
// regard to case, so A and a are one allele. A third distinct allele is kept;
// ToManyAlleles reports it.

#include <memory>
#include <string>

#include "harvestor/service/Collection.h"
#include "harvestor/service/Int16.h"

namespace harvestor {

class GenoLocus {
 public:
  // Starts over with an empty allele collection under the given name.
  void Initialize(const std::string& strLocusName);
  std::string LocusName() const;
  Int16 MaxAlleles() const;
  Int16 NumberOfAlleles() const;
  // The collection itself, not a copy.
  CollectionPtr<std::string> Alleles() const;
  void AddAllele(const std::string& strAlleleID);
  bool ToManyAlleles() const;

 private:
  std::string m_strLocusName;
  CollectionPtr<std::string> m_colAlleles = NewCollection<std::string>();
};

using GenoLocusPtr = std::shared_ptr<GenoLocus>;

}  // namespace harvestor
