#include "harvestor/genotype/GenoLocus.h"

#include <cstdint>

#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/Text.h"

namespace harvestor {

void GenoLocus::Initialize(const std::string& strLocusName) {
  Handled("GenoLocus", "Initialize", [&] {
    m_strPacked.clear();
    Append(strLocusName);
  });
}

namespace {

// The text that starts at *at, after its length; *at moves past it.
std::string_view Next(const std::string& packed, std::size_t* at) {
  std::size_t length = 0;
  for (int shift = 0;; shift += 7) {
    const auto byte = static_cast<unsigned char>(packed[(*at)++]);
    length |= static_cast<std::size_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) break;
  }
  const std::string_view text = std::string_view(packed).substr(*at, length);
  *at += length;
  return text;
}

}  // namespace

void GenoLocus::Append(std::string_view text) {
  std::size_t length = text.size();
  for (; length >= 0x80; length >>= 7) {
    m_strPacked.push_back(static_cast<char>(0x80 | (length & 0x7F)));
  }
  m_strPacked.push_back(static_cast<char>(length));
  m_strPacked.append(text);
}

std::string_view GenoLocus::Name() const {
  std::size_t at = 0;
  return Next(m_strPacked, &at);
}

template <class F>
bool GenoLocus::AnyAllele(F&& f) const {
  std::size_t at = 0;
  Next(m_strPacked, &at);  // the name
  while (at < m_strPacked.size()) {
    if (f(Next(m_strPacked, &at))) return true;
  }
  return false;
}

std::size_t GenoLocus::Count(std::size_t most) const {
  std::size_t count = 0;
  AnyAllele([&](std::string_view) { return ++count >= most; });
  return count;
}

std::string_view GenoLocus::AlleleID(std::size_t index) const {
  std::string_view found;
  AnyAllele([&](std::string_view allele) {
    if (index-- > 0) return false;
    found = allele;
    return true;
  });
  return found;
}

std::string GenoLocus::LocusName() const {
  return Handled("GenoLocus", "LocusName (Get)", [&] { return std::string(Name()); });
}

Int16 GenoLocus::MaxAlleles() const {
  return Handled("GenoLocus", "MaxAlleles (Get)", [] { return Int16{2}; });
}

Int16 GenoLocus::NumberOfAlleles() const {
  return Handled("GenoLocus", "NumberOfAlleles (Get)",
                 [&] { return ToInt16(static_cast<std::int64_t>(Count(SIZE_MAX))); });
}

CollectionPtr<std::string> GenoLocus::Alleles() const {
  return Handled("GenoLocus", "Alleles (Get)", [&] {
    auto alleles = NewCollection<std::string>();
    AnyAllele([&](std::string_view allele) {
      alleles->Add(std::string(allele), std::string(allele));
      return false;
    });
    return alleles;
  });
}

void GenoLocus::AddAllele(const std::string& strAlleleID) {
  Handled("GenoLocus", "AddAllele", [&] {
    if (AnyAllele([&](std::string_view allele) { return EqualsNoCase(allele, strAlleleID); })) {
      return;
    }
    Append(strAlleleID);
  });
}

bool GenoLocus::ToManyAlleles() const {
  return Handled("GenoLocus", "ToManyAlleles", [&] { return Count(3) > 2; });
}

}  // namespace harvestor
