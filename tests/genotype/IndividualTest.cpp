// Subjects and loci: reading a property list, keeping alleles, taking in a
// result's fragments and reconciling two readings of one subject.
#include <gtest/gtest.h>

#include "harvestor/genotype/Individual.h"
#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

using testing::FakePropertyList;
using testing::FakeStudyResult;
using Lines = std::vector<std::string>;

Individual Read(const FakePropertyList& properties, const std::string& id = "S1") {
  Individual individual;
  individual.Intialize(properties, id);
  return individual;
}

// Pedigree, father, mother, gender, affectation, liability class and population.
std::string Fields(const Individual& i) {
  return i.PedigreeID() + "|" + i.FatherID() + "|" + i.MotherID() + "|" +
         std::to_string(i.Gender()) + "|" + std::to_string(i.AffectationStatus()) + "|" +
         std::to_string(i.LiabilityClass()) + "|" + i.PopulationID();
}

TEST(IndividualTest, IntializeReadsTheSevenPropertiesByNameWithoutRegardToCase) {
  testing::TestHost host;
  const std::string unspecified = "|" + std::to_string(enumGenderUnspecified) + "|" +
                                  std::to_string(enumAffectationUnspecified) + "|0|";
  FakePropertyList none, full, odd, big;
  none.Text("Comment", "x").Text("PedigreeID", "no space: ignored");
  EXPECT_EQ(Fields(Read(none)), "||" + unspecified);
  full.Text("pedigree id", "FAM1")
      .Text("Father ID", "F1")
      .Text("MOTHER ID", "M1")
      .Number("GENDER", 2)
      .Text("Affectation Status", "2")
      .Text("Liability Class", "4")
      .Text("Population ID", "P1")
      .Text("Father ID", "F2");  // the last entry wins
  EXPECT_EQ(Fields(Read(full)), "FAM1|F2|M1|2|2|4|P1");
  odd.Number("Gender", 3).Text("Affectation Status", "").Text("Liability Class", "");
  EXPECT_EQ(Fields(Read(odd)), "|||" + std::to_string(enumGenderUnspecified) + "|" +
                                   std::to_string(enumAffectationUnknown) + "|0|");
  big.Number("Liability Class", 40000);  // past 16 bits
  EXPECT_THROW(Read(big), HError);
  EXPECT_EQ(host.utility.ReportedPlaces(), Lines{"Individual.Intialize"});
}

TEST(IndividualTest, GenoLocusKeepsDistinctAllelesAndReportsASurplus) {
  testing::TestHost host;
  GenoLocus locus;
  locus.Initialize("D1");
  for (const char* allele : {"12", "12", "A", "a"}) locus.AddAllele(allele);
  EXPECT_EQ(Lines(locus.Alleles()->begin(), locus.Alleles()->end()), (Lines{"12", "A"}));
  EXPECT_FALSE(locus.ToManyAlleles());
  locus.AddAllele("16");
  EXPECT_EQ(locus.NumberOfAlleles(), 3);
  EXPECT_TRUE(locus.ToManyAlleles());
}

// The name and the alleles share one packed string: names and IDs of every
// length the packing treats apart (one, two and three bytes of length) must
// come back whole.
TEST(IndividualTest, GenoLocusPackingKeepsNamesAndAllelesOfEveryLength) {
  testing::TestHost host;
  const Lines ids = {"",
                     "x",
                     std::string(127, 'a'),
                     std::string(128, 'b'),
                     std::string(20000, 'c'),
                     std::string(2000000, 'd')};
  for (const std::string& name :
       {std::string(), std::string(127, 'n'), std::string(128, 'm'), std::string(70000, 'l')}) {
    GenoLocus locus;
    locus.Initialize(name);
    for (const std::string& id : ids) locus.AddAllele(id);
    locus.AddAllele(std::string(20000, 'C'));  // a case variant adds nothing
    EXPECT_EQ(locus.Name(), name) << name.size();
    ASSERT_EQ(locus.NumberOfAlleles(), static_cast<Int16>(ids.size()));
    for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(locus.AlleleID(i), ids[i]) << i;
    EXPECT_EQ(locus.AlleleID(ids.size()), "");
    locus.Initialize("D2");  // starts over
    EXPECT_EQ(locus.Name(), "D2");
    EXPECT_EQ(locus.NumberOfAlleles(), 0);
  }
  GenoLocus bare;  // never initialized: the empty name, and still keeps alleles
  bare.AddAllele("7");
  EXPECT_EQ(bare.Name(), "");
  EXPECT_EQ(bare.AlleleID(0), "7");
}

TEST(IndividualTest, AddGenoLociTakesInCallsAndLogsWhatItSkips) {
  testing::TestHost host;
  host.filter.predicate = [](const IFragment& f) { return f.FragmentSize() == 99; };
  FakeStudyResult result;
  result.Call("", "7").excluded = true;       // no locus: ignored silently
  result.Call("D1", "").conditionCode = 512;  // unknown allele
  result.Call("D2", "10");
  result.Call("D2", "11");
  result.Call("D2", "12");                    // a third allele
  result.Call("D2", "12");                    // logged again
  result.Call("D3", "8").excluded = true;     // the fragment's own flag
  result.Call("D4", "9").size = 99;           // the host's filter
  result.Call("D5", "");                      // a no-call still creates the locus
  result.Call("d1", "13").conditionCode = 1;  // moves D1 to the end
  Individual individual = Read(FakePropertyList());
  individual.AddGenoLoci(result);

  EXPECT_EQ(host.Log(),
            (Lines{"\tD1: Unknown Allele", "\tD2: Too many Alleles", "\tD2: Too many Alleles",
                   "\tExcluded fragment for: D3", "\tExcluded fragment for: D4"}));
  const GenoLocusPtr d1 = individual.RetrieveGenoLocus("D1");
  ASSERT_TRUE(d1);
  EXPECT_EQ(Lines(d1->Alleles()->begin(), d1->Alleles()->end()), (Lines{"Unknown Allele", "13"}));
  EXPECT_EQ(individual.RetrieveGenoLocus("d2")->NumberOfAlleles(), 3);
  EXPECT_FALSE(individual.RetrieveGenoLocus("D3") || individual.RetrieveGenoLocus("D4"));
  EXPECT_EQ(individual.RetrieveGenoLocus("D5")->NumberOfAlleles(), 0);
  EXPECT_EQ(host.filter.asked, 9);  // every fragment with a locus is asked about
}

TEST(IndividualTest, ReadingsAreMergedFieldByFieldAndTheFirstWinsAConflict) {
  testing::TestHost host;
  FakePropertyList first, second, a, b;
  first.Text("Pedigree ID", "fam1").Number("Gender", 1).Number("Liability Class", 0);
  second.Text("Pedigree ID", "FAM1")
      .Text("Father ID", "F")
      .Number("Gender", 2)
      .Number("Liability Class", 3)
      .Number("Affectation Status", 2);
  Individual mine = Read(first);
  const Individual theirs = Read(second);
  EXPECT_FALSE(mine.IsSamePedigree(theirs));
  EXPECT_FALSE(mine.FixPedigreeIfFixable(theirs));
  EXPECT_EQ(Fields(mine), "fam1|F||1|2|3|");
  EXPECT_EQ(theirs.Gender(), 2);  // the argument is only read

  a.Text("Pedigree ID", "X").Number("Liability Class", 2).Text("Population ID", "P1");
  b.Text("Pedigree ID", "Y").Number("Liability Class", 3).Text("Population ID", "p1");
  Individual left = Read(a, "S2");
  EXPECT_FALSE(left.FixPedigreeIfFixable(Read(b, "other")));
  EXPECT_EQ(host.Log(), (Lines{"\tConflicting Gender for Subject: S1",
                               "\tConflicting Pedigree ID for Subject: S2",
                               "\tConflicting Liability Class for Subject: S2"}));
  FakePropertyList lower, upper;
  lower.Text("Pedigree ID", "fam1");
  upper.Text("Pedigree ID", "FAM1");
  EXPECT_TRUE(Read(lower).IsSamePedigree(Read(upper)));  // without regard to case
}

}  // namespace
}  // namespace harvestor
