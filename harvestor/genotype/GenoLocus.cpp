#include "harvestor/genotype/GenoLocus.h"

#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/Text.h"

namespace harvestor {

void GenoLocus::Initialize(const std::string& strLocusName) {
  Handled("GenoLocus", "Initialize", [&] {
    m_alleles.clear();
    m_alleles.reserve(2);  // a called locus has two alleles: one allocation, not two
    m_strLocusName = strLocusName;
  });
}

std::string GenoLocus::LocusName() const {
  return Handled("GenoLocus", "LocusName (Get)", [&] { return m_strLocusName; });
}

Int16 GenoLocus::MaxAlleles() const {
  return Handled("GenoLocus", "MaxAlleles (Get)", [] { return Int16{2}; });
}

Int16 GenoLocus::NumberOfAlleles() const {
  return Handled("GenoLocus", "NumberOfAlleles (Get)",
                 [&] { return ToInt16(static_cast<std::int64_t>(m_alleles.size())); });
}

CollectionPtr<std::string> GenoLocus::Alleles() const {
  return Handled("GenoLocus", "Alleles (Get)", [&] {
    auto alleles = NewCollection<std::string>();
    for (const std::string& allele : m_alleles) alleles->Add(allele, allele);
    return alleles;
  });
}

void GenoLocus::AddAllele(const std::string& strAlleleID) {
  Handled("GenoLocus", "AddAllele", [&] {
    for (const std::string& allele : m_alleles) {
      if (EqualsNoCase(allele, strAlleleID)) return;
    }
    m_alleles.push_back(strAlleleID);
  });
}

bool GenoLocus::ToManyAlleles() const {
  return Handled("GenoLocus", "ToManyAlleles", [&] { return m_alleles.size() > 2; });
}

}  // namespace harvestor
