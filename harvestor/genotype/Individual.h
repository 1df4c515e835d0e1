#pragma once
// One subject of the genotype table: its pedigree fields and the loci at
// which it was genotyped. GenoGroup fills it from the subject's property list
// (Intialize) and from each of the subject's results (AddGenoLoci), and
// reconciles several readings of one subject (IsSamePedigree,
// FixPedigreeIfFixable): the first reading wins on a conflict.

#include <cstdint>
#include <memory>
#include <string>

#include "harvestor/genotype/GenoLocus.h"
#include "harvestor/genotype/LocusTable.h"
#include "harvestor/service/Collection.h"
#include "harvestor/service/Int16.h"
#include "harvestor/service/StudyObjects.h"

namespace harvestor {

enum enumGenderTypes : std::int32_t {
  enumGenderUnspecified = -1,
  enumGenderMale = 1,
  enumGenderFemale = 2,
};

enum enumAffectationTypes : std::int32_t {
  enumAffectationUnspecified = -1,
  enumAffectationUnknown = 0,
  enumAffectationUnaffected = 1,
  enumAffectationAffected = 2,
};

class Individual final : public IObject {
 public:
  void Intialize(const IPropertyList& oPM, const std::string& strSubjectID);

  Int16 LiabilityClass() const;
  void LiabilityClass(Int16 intVal);
  std::int32_t AffectationStatus() const;
  void AffectationStatus(std::int32_t enumVal);
  std::int32_t Gender() const;
  void Gender(std::int32_t enumVal);
  std::string MotherID() const;
  void MotherID(const std::string& strVal);
  std::string FatherID() const;
  void FatherID(const std::string& strVal);
  std::string IndividualID() const;
  void IndividualID(const std::string& strVal);
  std::string PedigreeID() const;
  void PedigreeID(const std::string& strVal);
  std::string PopulationID() const;
  void PopulationID(const std::string& strVal);

  void AddGenoLoci(const IStudyResult& oStudyResult);
  // A copy of the locus of that name (without regard to case), or null.
  GenoLocusPtr RetrieveGenoLocus(const std::string& strLocusName) const;
  // The locus of that name read in place, or null; good until the next
  // AddGenoLoci. The exports read every locus of every individual this way.
  const GenoLocus* FindGenoLocus(std::string_view strLocusName) const;
  bool IsSamePedigree(const Individual& oIndividual) const;
  bool FixPedigreeIfFixable(const Individual& oIndividual);

  Variant GetProperty(std::string_view name) const override;

 private:
  static std::string TranslateConditionToID(std::int32_t condition, const std::string& alleleID);

  std::string m_strPedigreeID;
  std::string m_strIndividualID;
  std::string m_strFatherID;
  std::string m_strMotherID;
  std::int32_t m_enumGender = enumGenderUnspecified;
  std::int32_t m_enumAffectationStatus = enumAffectationUnspecified;
  Int16 m_intLiabilityClass = 0;
  std::string m_strPopulationID;
  LocusTable m_loci;
};

using IndividualPtr = std::shared_ptr<Individual>;

}  // namespace harvestor
