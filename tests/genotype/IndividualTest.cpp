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

Individual Read(const FakePropertyList& properties, const std::string& id = "S1") {
  Individual individual;
  individual.Intialize(properties, id);
  return individual;
}

TEST(IndividualTest, IntializeReadsTheSevenPropertiesByNameWithoutRegardToCase) {
  testing::TestHost host;
  FakePropertyList none;
  none.Text("Comment", "x").Text("PedigreeID", "no space: ignored");
  const Individual blank = Read(none);
  EXPECT_EQ(blank.IndividualID(), "S1");
  EXPECT_EQ(blank.PedigreeID(), "");
  EXPECT_EQ(blank.Gender(), enumGenderUnspecified);
  EXPECT_EQ(blank.AffectationStatus(), enumAffectationUnspecified);
  EXPECT_EQ(blank.LiabilityClass(), 0);

  FakePropertyList full;
  full.Text("pedigree id", "FAM1")
      .Text("Father ID", "F1")
      .Text("MOTHER ID", "M1")
      .Number("GENDER", 2)
      .Text("Affectation Status", "2")
      .Text("Liability Class", "4")
      .Text("Population ID", "P1")
      .Text("Father ID", "F2");  // the last entry wins
  const Individual read = Read(full);
  EXPECT_EQ(read.PedigreeID(), "FAM1");
  EXPECT_EQ(read.FatherID(), "F2");
  EXPECT_EQ(read.MotherID(), "M1");
  EXPECT_EQ(read.Gender(), 2);
  EXPECT_EQ(read.AffectationStatus(), 2);
  EXPECT_EQ(read.LiabilityClass(), 4);
  EXPECT_EQ(read.PopulationID(), "P1");

  FakePropertyList odd;
  odd.Number("Gender", 3).Text("Affectation Status", "").Text("Liability Class", "");
  const Individual oddly = Read(odd);
  EXPECT_EQ(oddly.Gender(), enumGenderUnspecified);
  EXPECT_EQ(oddly.AffectationStatus(), enumAffectationUnknown);  // empty compares as 0
  EXPECT_EQ(oddly.LiabilityClass(), 0);
}

TEST(IndividualTest, ALiabilityClassPast16BitsFailsIntialize) {
  testing::TestHost host;
  FakePropertyList big;
  big.Number("Liability Class", 40000);
  Individual individual;
  EXPECT_THROW(individual.Intialize(big, "S1"), HError);
  EXPECT_EQ(host.utility.ReportedPlaces(), std::vector<std::string>{"Individual.Intialize"});
}

TEST(IndividualTest, GenoLocusKeepsDistinctAllelesAndReportsASurplus) {
  testing::TestHost host;
  GenoLocus locus;
  locus.Initialize("D1");
  locus.AddAllele("12");
  locus.AddAllele("12");
  locus.AddAllele("14");
  EXPECT_EQ(locus.NumberOfAlleles(), 2);
  EXPECT_FALSE(locus.ToManyAlleles());
  locus.AddAllele("16");
  EXPECT_EQ(locus.NumberOfAlleles(), 3);
  EXPECT_TRUE(locus.ToManyAlleles());
  EXPECT_EQ(locus.MaxAlleles(), 2);

  GenoLocus letters;
  letters.Initialize("D2");
  letters.AddAllele("A");
  letters.AddAllele("a");
  EXPECT_EQ(letters.NumberOfAlleles(), 1);
  EXPECT_EQ(*letters.Alleles()->begin(), "A");

  // IDs of every length the locus's packing treats apart: empty, one byte
  // of length, two and three bytes of it, and a case variant of a long one.
  GenoLocus sizes;
  sizes.Initialize("D3");
  const std::vector<std::string> ids = {"",
                                        "x",
                                        std::string(127, 'a'),
                                        std::string(128, 'b'),
                                        std::string(20000, 'c'),
                                        std::string(2000000, 'd')};
  for (const std::string& id : ids) sizes.AddAllele(id);
  sizes.AddAllele(std::string(20000, 'C'));
  ASSERT_EQ(sizes.NumberOfAlleles(), static_cast<Int16>(ids.size()));
  for (std::size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(sizes.AlleleID(i), ids[i]) << i;
  EXPECT_EQ(sizes.AlleleID(ids.size()), "");
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

  FakePropertyList none;
  Individual individual = Read(none);
  individual.AddGenoLoci(result);

  EXPECT_EQ(host.Log(),
            (std::vector<std::string>{"\tD1: Unknown Allele", "\tD2: Too many Alleles",
                                      "\tD2: Too many Alleles", "\tExcluded fragment for: D3",
                                      "\tExcluded fragment for: D4"}));
  const GenoLocusPtr d1 = individual.RetrieveGenoLocus("D1");
  ASSERT_TRUE(d1);
  EXPECT_EQ(std::vector<std::string>(d1->Alleles()->begin(), d1->Alleles()->end()),
            (std::vector<std::string>{"Unknown Allele", "13"}));
  EXPECT_EQ(individual.RetrieveGenoLocus("d2")->NumberOfAlleles(), 3);
  EXPECT_FALSE(individual.RetrieveGenoLocus("D3"));
  EXPECT_FALSE(individual.RetrieveGenoLocus("D4"));
  EXPECT_EQ(individual.RetrieveGenoLocus("D5")->NumberOfAlleles(), 0);
  EXPECT_EQ(host.filter.asked, 9);  // every fragment with a locus is asked about
}

TEST(IndividualTest, ManyLociAreFoundByNameInAnyOrderAndCase) {
  // Enough loci that the lookup grows its table several times; a second
  // result names them in reverse and in another case, and lookups jump about.
  testing::TestHost host;
  FakeStudyResult first, second;
  const int kLoci = 300;
  for (int l = 0; l < kLoci; ++l) {
    first.Call("Locus" + std::to_string(l), std::to_string(l));
    first.Call("Locus" + std::to_string(l), std::to_string(l + 1));
  }
  for (int l = kLoci - 1; l >= 0; --l) second.Call("LOCUS" + std::to_string(l), "x");
  FakePropertyList none;
  Individual individual = Read(none);
  individual.AddGenoLoci(first);
  individual.AddGenoLoci(second);
  for (int l : {0, 299, 1, 150, 151, 150, 7, 298}) {
    SCOPED_TRACE(l);
    const GenoLocusPtr locus = individual.RetrieveGenoLocus("locus" + std::to_string(l));
    ASSERT_TRUE(locus);
    EXPECT_EQ(locus->LocusName(), "Locus" + std::to_string(l));
    ASSERT_EQ(locus->NumberOfAlleles(), 3);
    EXPECT_EQ(locus->AlleleID(0), std::to_string(l));
    EXPECT_EQ(locus->AlleleID(1), std::to_string(l + 1));
    EXPECT_EQ(locus->AlleleID(2), "x");
  }
  EXPECT_FALSE(individual.RetrieveGenoLocus("Locus300"));
  EXPECT_FALSE(individual.RetrieveGenoLocus("Locus"));
}

TEST(IndividualTest, ReadingsAreMergedFieldByFieldAndTheFirstWinsAConflict) {
  testing::TestHost host;
  FakePropertyList first, second;
  first.Text("Pedigree ID", "fam1")
      .Number("Gender", 1)
      .Number("Liability Class", 0)
      .Number("Liability Class", 0);
  second.Text("Pedigree ID", "FAM1")
      .Text("Father ID", "F")
      .Number("Gender", 2)
      .Number("Liability Class", 3)
      .Number("Affectation Status", 2);
  Individual mine = Read(first);
  const Individual theirs = Read(second);
  EXPECT_FALSE(mine.IsSamePedigree(theirs));
  EXPECT_FALSE(mine.FixPedigreeIfFixable(theirs));
  EXPECT_EQ(mine.PedigreeID(), "fam1");
  EXPECT_EQ(mine.FatherID(), "F");
  EXPECT_EQ(mine.Gender(), 1);
  EXPECT_EQ(mine.LiabilityClass(), 3);
  EXPECT_EQ(mine.AffectationStatus(), 2);
  EXPECT_EQ(host.Log(), std::vector<std::string>{"\tConflicting Gender for Subject: S1"});
  EXPECT_EQ(theirs.Gender(), 2);  // the argument is only read

  FakePropertyList a, b;
  a.Text("Pedigree ID", "X").Number("Liability Class", 2).Text("Population ID", "P1");
  b.Text("Pedigree ID", "Y").Number("Liability Class", 3).Text("Population ID", "p1");
  Individual left = Read(a, "S2");
  EXPECT_FALSE(left.FixPedigreeIfFixable(Read(b, "other")));
  EXPECT_EQ(host.Log().size(), 3u);
  EXPECT_EQ(host.Log()[1], "\tConflicting Pedigree ID for Subject: S2");
  EXPECT_EQ(host.Log()[2], "\tConflicting Liability Class for Subject: S2");

  FakePropertyList same1, same2;
  same1.Text("Pedigree ID", "fam1");
  same2.Text("Pedigree ID", "FAM1");
  EXPECT_TRUE(Read(same1).IsSamePedigree(Read(same2)));
}

}  // namespace
}  // namespace harvestor
