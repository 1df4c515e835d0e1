// Individual: allele intake from a study result and the reconciliation of
// two readings of one subject's pedigree.
#include "harvestor/genotype/Individual.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"

namespace harvestor {
namespace {

const char* const kClass = "Individual";
const char* const kUnknownAllele = "Unknown Allele";

// One pedigree field compared between two readings: missing is its empty
// value; text compares without regard to case.
template <class T>
bool Missing(const T& value, const T& missingValue) {
  return value == missingValue;
}
bool Same(const std::string& a, const std::string& b) { return EqualsNoCase(a, b); }
template <class T>
bool Same(const T& a, const T& b) {
  return a == b;
}

}  // namespace

void Individual::AddGenoLoci(const IStudyResult& oStudyResult) {
  Handled(kClass, "AddGenoLoci", [&] {
    IFragmentFilter& filter = HostObjects::FragmentFilter();
    const std::shared_ptr<IFragments> fragments = oStudyResult.Fragments();
    const std::int32_t count = fragments->Count();
    // A locus is called with two fragments: room for as many loci at once,
    // rather than growing the table step by step.
    m_loci.Reserve(static_cast<std::size_t>(count) / 2);
    for (std::int32_t i = 0; i < count; ++i) {
      const IFragment& fragment = fragments->Item(i);
      const std::string locusName = fragment.Locus();
      std::string alleleID = fragment.AlleleID();
      const std::int32_t condition = fragment.ConditionCode();
      if (condition != 0) alleleID = TranslateConditionToID(condition, alleleID);
      if (locusName.empty()) continue;

      const bool ownFlag = fragment.Excluded();
      const bool filtered = filter.IsExcluded(fragment);
      if (ownFlag || filtered) {
        ErrorLog::LogExportMsg("\tExcluded fragment for: " + locusName);
        continue;
      }

      // The locus is looked up by name; where it sits among the others is
      // never read, so it stays where it was first added.
      GenoLocus& locus = m_loci.FindOrAdd(locusName);
      if (EqualsNoCase(alleleID, kUnknownAllele)) {
        ErrorLog::LogExportMsg("\t" + locusName + ": " + kUnknownAllele);
      }
      if (!alleleID.empty()) {
        locus.AddAllele(alleleID);
        if (locus.ToManyAlleles()) ErrorLog::LogExportMsg("\t" + locusName + ": Too many Alleles");
      }
    }
  });
}

GenoLocusPtr Individual::RetrieveGenoLocus(const std::string& strLocusName) const {
  // Locus names are unique without regard to case, so the lookup by name
  // finds the one locus a walk in order would.
  return Handled(kClass, "RetrieveGenoLocus", [&]() -> GenoLocusPtr {
    const GenoLocus* held = m_loci.Find(strLocusName);
    return held ? std::make_shared<GenoLocus>(*held) : nullptr;
  });
}

const GenoLocus* Individual::FindGenoLocus(std::string_view strLocusName) const {
  return m_loci.Find(strLocusName);
}

bool Individual::IsSamePedigree(const Individual& o) const {
  return Handled(kClass, "IsSamePedigree", [&] {
    bool same = true;
    same &= Same(PedigreeID(), o.PedigreeID());
    same &= Same(FatherID(), o.FatherID());
    same &= Same(MotherID(), o.MotherID());
    same &= Same(Gender(), o.Gender());
    same &= Same(AffectationStatus(), o.AffectationStatus());
    same &= Same(LiabilityClass(), o.LiabilityClass());
    same &= Same(PopulationID(), o.PopulationID());
    return same;
  });
}

bool Individual::FixPedigreeIfFixable(const Individual& o) {
  return Handled(kClass, "FixPedigreeIfFixable", [&] {
    bool fixable = true;
    auto merge = [&](auto mine, auto theirs, auto missingValue, auto set, const char* conflict) {
      const bool mineMissing = Missing(mine, missingValue);
      const bool theirsMissing = Missing(theirs, missingValue);
      if (mineMissing && !theirsMissing) {
        set(theirs);
      } else if (!mineMissing && !theirsMissing && !Same(mine, theirs)) {
        fixable = false;
        ErrorLog::LogExportMsg(std::string("\t") + conflict + IndividualID());
      }
    };
    const std::string none;
    merge(
        PedigreeID(), o.PedigreeID(), none, [&](const std::string& v) { PedigreeID(v); },
        "Conflicting Pedigree ID for Subject: ");
    merge(
        FatherID(), o.FatherID(), none, [&](const std::string& v) { FatherID(v); },
        "Conflicting Father ID for Subject: ");
    merge(
        MotherID(), o.MotherID(), none, [&](const std::string& v) { MotherID(v); },
        "Conflicting Mother ID for Subject: ");
    merge(
        Gender(), o.Gender(), std::int32_t{enumGenderUnspecified},
        [&](std::int32_t v) { Gender(v); }, "Conflicting Gender for Subject: ");
    merge(
        AffectationStatus(), o.AffectationStatus(), std::int32_t{enumAffectationUnspecified},
        [&](std::int32_t v) { AffectationStatus(v); },
        "Conflicting Affectation Status for Subject: ");
    merge(
        LiabilityClass(), o.LiabilityClass(), Int16{0}, [&](Int16 v) { LiabilityClass(v); },
        "Conflicting Liability Class for Subject: ");
    merge(
        PopulationID(), o.PopulationID(), none, [&](const std::string& v) { PopulationID(v); },
        "Conflicting Population ID for Subject: ");
    return fixable;
  });
}

}  // namespace harvestor
