// The LOH workbook's analysis in a real, headless LibreOffice: the pairs it
// proposes or keeps, each pair's ratio and call per locus on the threshold
// cells, and the summary and chart built on them.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/fakes/TestHost.h"
#include "tests/spreadsheet/LohWorkbook.h"

namespace workstation::testing {
namespace {

// One fragment line of the input file as the LOH launch writes it.
std::string fragment(const std::string& result, const std::string& locus, const std::string& allele,
                     double area) {
  char line[256];
  std::snprintf(line, sizeof line, R"("%s",1,150.5,900,"%s","%s","%s",%g)", result.c_str(),
                locus.c_str(), allele.c_str(), allele.empty() ? "no call" : "", area);
  return line;
}

struct LocusCase {
  std::string locus;
  std::string normal, tumour;  // peaks "ALLELE=AREA ...", an empty allele being no call
  std::string ratio;
  std::string call;          // at the thresholds 0.5 and 2.0
  std::string callNarrowed;  // at the thresholds 0.52 and 1.98
};

std::vector<std::pair<std::string, double>> peaks(const std::string& text) {
  std::vector<std::pair<std::string, double>> out;
  std::istringstream in(text);
  for (std::string peak; in >> peak;) {
    const std::size_t at = peak.find('=');
    out.emplace_back(peak.substr(0, at), std::stod(peak.substr(at + 1)));
  }
  return out;
}

// Loci in the order the input file first names them.
const std::vector<LocusCase> kFirstPair{
    {"D3S1358", "12=1000 13=1000", "12=1000 13=1000", "1.00", "Retained", "Retained"},
    {"vWA", "14=1000 15=1000", "14=500 15=1000", "0.50", "LOH", "LOH"},
    {"FGA", "20=1000 22=1000", "20=1000 22=500", "2.00", "LOH", "LOH"},
    {"D8S1179", "10=1000 13=1000", "10=510 13=1000", "0.51", "Retained", "LOH"},
    {"D21S11", "28=1000 30=1000", "28=1990 30=1000", "1.99", "Retained", "LOH"},
    {"D18S51", "12=2000", "12=1000", "", "Not informative", "Not informative"},
    {"D5S818", "=800", "11=900 12=400", "", "Not informative", "Not informative"},
    {"D13S317", "11=1000 12=1000", "11=900", "\u221e", "LOH", "LOH"},
    {"D7S820", "8=1000 10=800", "10=700", "0.00", "LOH", "LOH"},
    // The normal's own imbalance divides the tumour's: (1000/1000)/(1500/1000).
    {"TH01", "6=1500 9=1000", "6=1000 9=1000", "0.67", "Retained", "Retained"},
};
const std::vector<LocusCase> kSecondPair{
    {"D3S1358", "15=1200 16=1000", "15=1200 16=1000", "1.00", "Retained", "Retained"},
    {"vWA", "17=1000 18=1000", "17=300 18=1000", "0.30", "LOH", "LOH"},
};

void addPair(std::vector<std::string>& lines, const std::string& normal, const std::string& tumour,
             const std::vector<LocusCase>& cases) {
  for (const auto& c : cases) {
    for (const auto& [allele, area] : peaks(c.normal))
      lines.push_back(fragment(normal, c.locus, allele, area));
  }
  for (const auto& c : cases) {
    for (const auto& [allele, area] : peaks(c.tumour))
      lines.push_back(fragment(tumour, c.locus, allele, area));
  }
}

class LohResultsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string why = LohWorkbook::Unavailable();
    if (!why.empty()) GTEST_SKIP() << "LibreOffice cannot open the LOH workbook here: " << why;
  }
  harvestor::testing::TestHost host;
};

TEST_F(LohResultsTest, EachProposedPairIsCalledPerLocusOnTheThresholdCells) {
  LohWorkbook book(host.root);
  std::vector<std::string> lines;
  addPair(lines, "Case 1N.A01_1", "Case 1T.A02_1", kFirstPair);
  addPair(lines, "Case 2N.B01_1", "Case 2T.B02_1", kSecondPair);
  // Names that differ by more than the markers, and a result with neither.
  lines.push_back(fragment("Case 3N.C01_1", "D3S1358", "12", 1000));
  lines.push_back(fragment("Case 4T.C02_1", "D3S1358", "12", 1000));
  lines.push_back(R"("Ladder.H12_1",4,75,900,"","","size standard",9000)");
  book.WriteInput(lines);
  const WorkbookCells cells = book.Open(
      {{"--set", "Results.B1=0.52"}, {"--set", "Results.B2=1.98"}, {"--dump", "narrowed"}});
  ASSERT_EQ(cells.exitStatus, 0) << cells.errors;
  EXPECT_TRUE(cells.questions.empty()) << cells.questions.front();

  // The proposal: one row per tumour whose name differs from a normal's only by the markers.
  const std::vector<std::vector<std::string>> proposed{
      {"Case 1N.A01_1", "Case 1T.A02_1", "Proposed from the markers"},
      {"Case 2N.B01_1", "Case 2T.B02_1", "Proposed from the markers"},
      {"", "", ""}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c)
      EXPECT_EQ(cells.Text("loaded", "Pairs", 6 + r, c), proposed[r][c]) << r << "," << c;
  }
  const std::vector<std::string> names{"Case 1N.A01_1", "Case 1T.A02_1", "Case 2N.B01_1",
                                       "Case 2T.B02_1", "Case 3N.C01_1", "Case 4T.C02_1",
                                       "Ladder.H12_1"};
  for (std::size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(cells.Text("loaded", "Pairs", 6 + static_cast<int>(i), 4), names[i]);
  for (const char* cell : {"A7", "B7"}) {
    EXPECT_EQ(cells.Fact("list", "loaded", cell), std::vector<std::string>{"$Pairs.$E$7:$E$13"})
        << cell;
  }

  // Results: every pair with every locus of the input file, in its order.
  const std::vector<std::pair<std::string, std::string>> pairs{{"Case 1N.A01_1", "Case 1T.A02_1"},
                                                               {"Case 2N.B01_1", "Case 2T.B02_1"}};
  const std::vector<const std::vector<LocusCase>*> tables{&kFirstPair, &kSecondPair};
  ASSERT_EQ(cells.LastRow("loaded", "Results"), 4 + 2 * static_cast<int>(kFirstPair.size()));
  for (std::size_t p = 0; p < pairs.size(); ++p) {
    for (std::size_t l = 0; l < kFirstPair.size(); ++l) {
      const int row = 5 + static_cast<int>(p * kFirstPair.size() + l);
      const std::string where = pairs[p].second + " " + kFirstPair[l].locus;
      EXPECT_EQ(cells.Text("loaded", "Results", row, 0), pairs[p].first) << where;
      EXPECT_EQ(cells.Text("loaded", "Results", row, 1), pairs[p].second) << where;
      EXPECT_EQ(cells.Text("loaded", "Results", row, 2), kFirstPair[l].locus) << where;
      const LocusCase* c = nullptr;
      for (const auto& candidate : *tables[p]) {
        if (candidate.locus == kFirstPair[l].locus) c = &candidate;
      }
      // A locus the pair's normal lacks is a normal with no call.
      const LocusCase none{kFirstPair[l].locus, "", "", "", "Not informative", "Not informative"};
      if (c == nullptr) c = &none;
      // Results shows the normal's alleles.
      auto alleles = peaks(c->normal);
      alleles.resize(2);
      EXPECT_EQ(cells.Text("loaded", "Results", row, 3), alleles[0].first) << where;
      EXPECT_EQ(cells.Text("loaded", "Results", row, 4), alleles[1].first) << where;
      EXPECT_EQ(cells.Text("loaded", "Results", row, 9), c->ratio) << where;
      EXPECT_EQ(cells.Text("loaded", "Results", row, 10), c->call) << where;
      EXPECT_EQ(cells.Text("narrowed", "Results", row, 10), c->callNarrowed) << where;
    }
  }
  // The areas behind a lost allele: the tumour's is 0.
  const int lost =
      cells.FindRow("loaded", "Results", {"Case 1N.A01_1", "Case 1T.A02_1", "D13S317"});
  ASSERT_GT(lost, 0);
  const std::vector<std::string> areas{"1000", "1000", "900", "0"};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(cells.Text("loaded", "Results", lost, 5 + c), areas[c]);

  // The summary counts each pair's informative loci and LOH calls.
  const std::vector<std::vector<std::string>> summary{
      {"Case 1N.A01_1", "Case 1T.A02_1", "8", "4", "6"},
      {"Case 2N.B01_1", "Case 2T.B02_1", "2", "1", "1"}};
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(cells.Text("loaded", "Summary", 6 + r, c), summary[r][c]) << r << "," << c;
    EXPECT_EQ(cells.Text("narrowed", "Summary", 6 + r, 3), summary[r][4]) << r;
  }
  EXPECT_EQ(cells.Text("loaded", "Summary", 8, 0), "");
  EXPECT_EQ(
      cells.Fact("chart", "loaded", "Summary"),
      (std::vector<std::string>{"Ratios", "Plotted Ratio|Lower Threshold|Upper Threshold", "2"}));
}

TEST_F(LohResultsTest, PairsTheUserSavedAreKeptWhileAnUntouchedProposalFollowsTheInput) {
  LohWorkbook book(host.root);
  std::vector<std::string> lines;
  addPair(lines, "Case 1N.A01_1", "Case 1T.A02_1", kSecondPair);
  book.WriteInput(lines);
  // Saved as proposed: the next opening proposes again from its own input.
  ASSERT_EQ(book.Open({{"--save", "-"}}).exitStatus, 0);
  lines.clear();
  addPair(lines, "Case 5N.A01_2", "Case 5T.A02_2", kSecondPair);
  addPair(lines, "Case 6N.B01_2", "Case 6T.B02_2", kSecondPair);
  book.WriteInput(lines);
  const WorkbookCells reproposed = book.Open({{"--set", "Pairs.A7=Case 6N.B01_2"},
                                              {"--set", "Pairs.B7=Case 5T.A02_2"},
                                              {"--set", "Pairs.C7="},
                                              {"--run", "loh_workbook.py$Refresh"},
                                              {"--dump", "refreshed"},
                                              {"--save", "-"}});
  ASSERT_EQ(reproposed.exitStatus, 0) << reproposed.errors;
  EXPECT_EQ(reproposed.Text("loaded", "Pairs", 6, 0), "Case 5N.A01_2");
  EXPECT_EQ(reproposed.Text("loaded", "Pairs", 7, 0), "Case 6N.B01_2");
  EXPECT_EQ(reproposed.Text("loaded", "Pairs", 8, 0), "");
  // Refresh analyses the changed list without reopening.
  EXPECT_EQ(reproposed.Text("loaded", "Results", 5, 1), "Case 5T.A02_2");
  EXPECT_EQ(reproposed.Text("refreshed", "Results", 5, 0), "Case 6N.B01_2");
  EXPECT_EQ(reproposed.Text("refreshed", "Results", 5, 1), "Case 5T.A02_2");

  // The user's own list is kept whole, proposed rows left in it included.
  const WorkbookCells kept = book.Open();
  ASSERT_EQ(kept.exitStatus, 0) << kept.errors;
  const std::vector<std::vector<std::string>> list{
      {"Case 6N.B01_2", "Case 5T.A02_2", ""},
      {"Case 6N.B01_2", "Case 6T.B02_2", "Proposed from the markers"},
      {"", "", ""}};
  for (int r = 0; r < 3; ++r) {
    for (int c = 0; c < 3; ++c)
      EXPECT_EQ(kept.Text("loaded", "Pairs", 6 + r, c), list[r][c]) << r << "," << c;
  }
  EXPECT_EQ(kept.Text("loaded", "Results", 5, 0), "Case 6N.B01_2");
  EXPECT_EQ(kept.Text("loaded", "Results", 5, 1), "Case 5T.A02_2");
  EXPECT_EQ(kept.Text("loaded", "Summary", 6, 1), "Case 5T.A02_2");
  EXPECT_EQ(kept.Text("loaded", "Summary", 7, 1), "Case 6T.B02_2");
}

}  // namespace
}  // namespace workstation::testing
