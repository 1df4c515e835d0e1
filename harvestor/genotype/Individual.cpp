#include "harvestor/genotype/Individual.h"

#include "harvestor/service/ErrorHandler.h"

namespace harvestor {
namespace {

const char* const kClass = "Individual";

template <class T>
T GetField(const char* procedure, const T& field) {
  return Handled(kClass, procedure, [&] { return field; });
}

template <class T>
void LetField(const char* procedure, T& field, const T& value) {
  Handled(kClass, procedure, [&] { field = value; });
}

std::int32_t GenderFrom(const Variant& value) {
  const auto n = value.ToNumber();
  if (n && (*n == 1 || *n == 2)) return static_cast<std::int32_t>(*n);
  return enumGenderUnspecified;
}

std::int32_t AffectationFrom(const Variant& value) {
  const auto n = value.ToNumber();
  if (n && (*n == 0 || *n == 1 || *n == 2)) return static_cast<std::int32_t>(*n);
  return enumAffectationUnspecified;
}

Int16 LiabilityClassFrom(const Variant& value) {
  if (value.ToText().empty()) return 0;
  const auto n = value.ToNumber();
  if (!n) RaiseError(ErrNo::TypeMismatch);
  return RoundToInt16(*n);
}

}  // namespace

void Individual::Intialize(const IPropertyList& oPM, const std::string& strSubjectID) {
  Handled(kClass, "Intialize", [&] {
    *this = Individual();
    m_strIndividualID = strSubjectID;
    const std::int32_t count = oPM.Count();
    for (std::int32_t i = 0; i < count; ++i) {
      const PropertyEntry entry = oPM.Item(i);
      const std::string& name = entry.Name;
      if (EqualsNoCase(name, "Pedigree ID")) {
        PedigreeID(entry.Value.ToText());
      } else if (EqualsNoCase(name, "Father ID")) {
        FatherID(entry.Value.ToText());
      } else if (EqualsNoCase(name, "Mother ID")) {
        MotherID(entry.Value.ToText());
      } else if (EqualsNoCase(name, "Gender")) {
        Gender(GenderFrom(entry.Value));
      } else if (EqualsNoCase(name, "Affectation Status")) {
        AffectationStatus(AffectationFrom(entry.Value));
      } else if (EqualsNoCase(name, "Liability Class")) {
        LiabilityClass(LiabilityClassFrom(entry.Value));
      } else if (EqualsNoCase(name, "Population ID")) {
        PopulationID(entry.Value.ToText());
      }
    }
  });
}

Int16 Individual::LiabilityClass() const {
  return GetField("LiabilityClass (Get)", m_intLiabilityClass);
}
void Individual::LiabilityClass(Int16 intVal) {
  LetField("LiabilityClass (Let)", m_intLiabilityClass, intVal);
}
std::int32_t Individual::AffectationStatus() const {
  return GetField("AffectationStatus (Get)", m_enumAffectationStatus);
}
void Individual::AffectationStatus(std::int32_t enumVal) {
  LetField("AffectationStatus (Let)", m_enumAffectationStatus, enumVal);
}
std::int32_t Individual::Gender() const { return GetField("Gender (Get)", m_enumGender); }
void Individual::Gender(std::int32_t enumVal) { LetField("Gender (Let)", m_enumGender, enumVal); }
std::string Individual::MotherID() const { return GetField("MotherID (Get)", m_strMotherID); }
void Individual::MotherID(const std::string& strVal) {
  LetField("MotherID (Let)", m_strMotherID, strVal);
}
std::string Individual::FatherID() const { return GetField("FatherID (Get)", m_strFatherID); }
void Individual::FatherID(const std::string& strVal) {
  LetField("FatherID (Let)", m_strFatherID, strVal);
}
std::string Individual::IndividualID() const {
  return GetField("IndividualID (Get)", m_strIndividualID);
}
void Individual::IndividualID(const std::string& strVal) {
  LetField("IndividualID (Let)", m_strIndividualID, strVal);
}
std::string Individual::PedigreeID() const { return GetField("PedigreeID (Get)", m_strPedigreeID); }
void Individual::PedigreeID(const std::string& strVal) {
  LetField("PedigreeID (Let)", m_strPedigreeID, strVal);
}
// The population accessors have no handler of their own.
std::string Individual::PopulationID() const { return m_strPopulationID; }
void Individual::PopulationID(const std::string& strVal) { m_strPopulationID = strVal; }

Variant Individual::GetProperty(std::string_view name) const {
  if (EqualsNoCase(name, "IndividualID")) return Variant::FromText(IndividualID());
  if (EqualsNoCase(name, "PedigreeID")) return Variant::FromText(PedigreeID());
  if (EqualsNoCase(name, "FatherID")) return Variant::FromText(FatherID());
  if (EqualsNoCase(name, "MotherID")) return Variant::FromText(MotherID());
  if (EqualsNoCase(name, "PopulationID")) return Variant::FromText(PopulationID());
  if (EqualsNoCase(name, "Gender")) return Variant::FromNumber(Gender());
  if (EqualsNoCase(name, "AffectationStatus")) return Variant::FromNumber(AffectationStatus());
  if (EqualsNoCase(name, "LiabilityClass")) return Variant::FromNumber(LiabilityClass());
  RaiseError(438, "Object doesn't support this property or method");
}

std::string Individual::TranslateConditionToID(std::int32_t condition,
                                               const std::string& alleleID) {
  return Handled(kClass, "TranslateConditionToID", [&]() -> std::string {
    if (alleleID.empty() && (condition & 0x200) != 0) return "Unknown Allele";
    return alleleID;
  });
}

}  // namespace harvestor
