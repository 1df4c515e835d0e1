#include "harvestor/genotype/GenoLocus.h"

#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/HostObjects.h"

namespace harvestor {

void GenoLocus::Initialize(const std::string& strLocusName) {
  Handled("GenoLocus", "Initialize", [&] {
    m_colAlleles = NewCollection<std::string>();
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
                 [&] { return ToInt16(m_colAlleles->Count()); });
}

CollectionPtr<std::string> GenoLocus::Alleles() const {
  return Handled("GenoLocus", "Alleles (Get)", [&] { return m_colAlleles; });
}

void GenoLocus::AddAllele(const std::string& strAlleleID) {
  Handled("GenoLocus", "AddAllele", [&] {
    if (HostObjects::HostUtility().CollectionHasKey(*m_colAlleles, strAlleleID)) return;
    m_colAlleles->Add(strAlleleID, strAlleleID);
  });
}

bool GenoLocus::ToManyAlleles() const {
  return Handled("GenoLocus", "ToManyAlleles", [&] { return m_colAlleles->Count() > 2; });
}

}  // namespace harvestor
