// The LOH workbook in a real, headless LibreOffice: each time it opens it reads
// the input file the LOH launch writes, without asking anything, and proposes,
// keeps and calls its tumour/normal pairs on the threshold cells.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/fakes/TestHost.h"
#include "tests/spreadsheet/LohWorkbook.h"

namespace workstation::testing {
namespace {

using Rows = std::vector<std::vector<std::string>>;

// One fragment line per peak "ALLELE=AREA" of peaks (an empty allele is no call).
void addPeaks(std::vector<std::string>& lines, const std::string& result, const std::string& locus,
              const std::string& peaks) {
  std::istringstream in(peaks);
  for (std::string peak; in >> peak;) {
    const std::string allele = peak.substr(0, peak.find('='));
    char line[256];
    std::snprintf(line, sizeof line, R"("%s",1,150.5,900,"%s","%s","%s",%s)", result.c_str(),
                  locus.c_str(), allele.c_str(), allele.empty() ? "no call" : "",
                  peak.substr(peak.find('=') + 1).c_str());
    lines.push_back(line);
  }
}

struct LocusCase {
  std::string locus, normal, tumour;
  std::string alleles, ratio;  // the normal's two alleles as Results shows them
  std::string call;            // at the thresholds 0.5 and 2.0
  std::string callNarrowed;    // at the thresholds 0.52 and 1.98
};

// Loci in the order the input file first names them.
const std::vector<LocusCase> kFirstPair{
    {"D3S1358", "12=1000 13=1000", "12=1000 13=1000", "12 13", "1.00", "Retained", "Retained"},
    {"vWA", "14=1000 15=1000", "14=500 15=1000", "14 15", "0.50", "LOH", "LOH"},
    {"FGA", "20=1000 22=1000", "20=1000 22=500", "20 22", "2.00", "LOH", "LOH"},
    {"D8S1179", "10=1000 13=1000", "10=510 13=1000", "10 13", "0.51", "Retained", "LOH"},
    {"D21S11", "28=1000 30=1000", "28=1990 30=1000", "28 30", "1.99", "Retained", "LOH"},
    {"D18S51", "12=2000", "12=1000", "12 ", "", "Not informative", "Not informative"},
    {"D5S818", "=800", "11=900 12=400", " ", "", "Not informative", "Not informative"},
    {"D13S317", "11=1000 12=1000", "11=900", "11 12", "\u221e", "LOH", "LOH"},
    {"D7S820", "8=1000 10=800", "10=700", "8 10", "0.00", "LOH", "LOH"},
    // The normal's own imbalance divides the tumour's: (1000/1000)/(1500/1000).
    {"TH01", "6=1500 9=1000", "6=1000 9=1000", "6 9", "0.67", "Retained", "Retained"},
};
const std::vector<LocusCase> kSecondPair{
    {"D3S1358", "15=1200 16=1000", "15=1200 16=1000", "15 16", "1.00", "Retained", "Retained"},
    {"vWA", "17=1000 18=1000", "17=300 18=1000", "17 18", "0.30", "LOH", "LOH"},
};

void addPair(std::vector<std::string>& lines, const std::string& normal, const std::string& tumour,
             const std::vector<LocusCase>& cases) {
  for (const auto& c : cases) addPeaks(lines, normal, c.locus, c.normal);
  for (const auto& c : cases) addPeaks(lines, tumour, c.locus, c.tumour);
}

// The cells from (firstRow, firstColumn) on are rows.
void expectRows(const WorkbookCells& cells, const std::string& name, const std::string& sheet,
                int firstRow, const Rows& rows, int firstColumn = 0) {
  for (std::size_t r = 0; r < rows.size(); ++r) {
    for (std::size_t c = 0; c < rows[r].size(); ++c) {
      const int row = firstRow + int(r), column = firstColumn + int(c);
      EXPECT_EQ(cells.Text(name, sheet, row, column), rows[r][c])
          << name << " " << sheet << " " << row << "," << column;
    }
  }
}

class LohWorkbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string why = LohWorkbook::Unavailable();
    if (!why.empty()) GTEST_SKIP() << "LibreOffice cannot open the LOH workbook here: " << why;
  }
  harvestor::testing::TestHost host;
  LohWorkbook book{host.root};
};

TEST_F(LohWorkbookTest, EachProposedPairIsCalledPerLocusOnTheThresholdCells) {
  std::vector<std::string> lines;
  addPair(lines, "Case 1N.A01_1", "Case 1T.A02_1", kFirstPair);
  addPair(lines, "Case 2N.B01_1", "Case 2T.B02_1", kSecondPair);
  // Names that differ by more than the markers, and a result with neither.
  addPeaks(lines, "Case 3N.C01_1", "D3S1358", "12=1000");
  addPeaks(lines, "Case 4T.C02_1", "D3S1358", "12=1000");
  lines.insert(lines.end(), {R"("Ladder.H12_1",4,75,900,"","","size standard",9000)",
                             // As the launch writes them where the decimal separator is a comma.
                             R"("Ladder.H12_1",3,201,75,1500,"vWA","17","off, ladder",4100,25)",
                             R"("Ladder.H12_1",3,205,5,1480,5,"vWA","18","a "quoted" note",3900)"});
  book.WriteInput(lines);
  const WorkbookCells cells = book.Open(
      {{"--set", "Results.B1=0.52"}, {"--set", "Results.B2=1.98"}, {"--dump", "narrowed"}});
  ASSERT_EQ(cells.exitStatus, 0) << cells.errors;
  EXPECT_TRUE(cells.questions.empty()) << cells.questions.front();

  // Fragments holds every line of the input file; "#" marks a number.
  const int last = int(lines.size());
  ASSERT_EQ(cells.LastRow("loaded", "Fragments"), last);
  const std::vector<std::pair<int, std::vector<std::string>>> fragments{
      {0,
       {"Result Name", "Dye", "Fragment Size", "Peak Height", "Locus", "Allele ID", "Comment",
        "Peak Area"}},
      {1, {"Case 1N.A01_1", "#1", "#150.5", "#900", "D3S1358", "12", "", "#1000"}},
      {last - 2, {"Ladder.H12_1", "#4", "#75", "#900", "", "", "size standard", "#9000"}},
      {last - 1,
       {"Ladder.H12_1", "#3", "#201.75", "#1500", "vWA", "17", "off, ladder", "#4100.25"}},
      {last,
       {"Ladder.H12_1", "#3", "#205.5", "#1480.5", "vWA", "18", "a \"quoted\" note", "#3900"}}};
  for (const auto& [row, texts] : fragments) {
    std::vector<std::string> got;
    for (int c = 0; c < 8; ++c) {
      const SheetCell cell = cells.At("loaded", "Fragments", row, c);
      const bool plain = cell.kind == "text" ? !cell.text.empty() : cell.kind == "empty";
      got.push_back(cell.kind == "number" ? "#" + cell.text
                    : plain               ? cell.text
                                          : cell.kind + ":" + cell.text);
    }
    EXPECT_EQ(got, texts) << row;
  }
  EXPECT_EQ(cells.Text("loaded", "Summary", 0, 1), book.InputPath());
  EXPECT_EQ(cells.Text("loaded", "Summary", 2, 1), std::to_string(last));

  // One row per tumour whose name differs from a normal's only by the markers.
  const std::string proposed = "Proposed from the markers";
  expectRows(cells, "loaded", "Pairs", 6,
             {{"Case 1N.A01_1", "Case 1T.A02_1", proposed},
              {"Case 2N.B01_1", "Case 2T.B02_1", proposed},
              {"", "", ""}});
  const std::vector<std::string> names{"Case 1N.A01_1", "Case 1T.A02_1", "Case 2N.B01_1",
                                       "Case 2T.B02_1", "Case 3N.C01_1", "Case 4T.C02_1",
                                       "Ladder.H12_1"};
  for (std::size_t i = 0; i < names.size(); ++i)
    EXPECT_EQ(cells.Text("loaded", "Pairs", 6 + int(i), 4), names[i]);
  expectRows(cells, "loaded", "list:Pairs", 6, {{"$Pairs.$E$7:$E$13", "$Pairs.$E$7:$E$13"}});

  // Every pair with every locus of the input file, in its order; a locus the
  // second pair's normal lacks is a normal with no call.
  const int loci = int(kFirstPair.size());
  ASSERT_EQ(cells.LastRow("loaded", "Results"), 4 + 2 * loci);
  for (int row = 5; row < 5 + 2 * loci; ++row) {
    const int p = (row - 5) / loci, l = (row - 5) % loci;
    LocusCase c{kFirstPair[l].locus, "", "", " ", "", "Not informative", "Not informative"};
    if (p == 0) c = kFirstPair[l];
    if (p == 1 && l < int(kSecondPair.size())) c = kSecondPair[l];
    const std::string& normal = names[2 * p];
    const std::string& tumour = names[2 * p + 1];
    expectRows(cells, "loaded", "Results", row, {{normal, tumour, c.locus}});
    EXPECT_EQ(
        cells.Text("loaded", "Results", row, 3) + " " + cells.Text("loaded", "Results", row, 4),
        c.alleles)
        << tumour << " " << c.locus;
    expectRows(cells, "loaded", "Results", row, {{c.ratio, c.call}}, 9);
    expectRows(cells, "narrowed", "Results", row, {{c.callNarrowed}}, 10);
  }
  // The areas behind a lost allele: the tumour's is 0.
  expectRows(cells, "loaded", "Results", 12, {{"D13S317", "11", "12", "1000", "1000", "900", "0"}},
             2);

  // Each pair's informative loci and LOH calls, then the calls at the narrowed thresholds.
  expectRows(cells, "loaded", "Summary", 6,
             {{"Case 1N.A01_1", "Case 1T.A02_1", "8", "4"},
              {"Case 2N.B01_1", "Case 2T.B02_1", "2", "1"},
              {""}});
  expectRows(cells, "narrowed", "Summary", 6, {{"6"}, {"1"}}, 3);
  expectRows(cells, "loaded", "chart:Summary", 0,
             {{"Ratios", "Plotted Ratio|Lower Threshold|Upper Threshold", "2"}, {""}});
}

TEST_F(LohWorkbookTest, EachOpeningReadsItsInputWhileThePairsTheUserSavedAreKept) {
  std::vector<std::string> lines;
  addPair(lines, "Case 1N.A01_1", "Case 1T.A02_1", kFirstPair);
  book.WriteInput(lines);
  // Saved as proposed: the next opening proposes again from its own input.
  ASSERT_EQ(book.Open({{"--save", "-"}}).exitStatus, 0);
  lines.clear();
  addPair(lines, "Case 5N.A01_2", "Case 5T.A02_2", kSecondPair);
  addPair(lines, "Case 6N.B01_2", "Case 6T.B02_2", kSecondPair);
  book.WriteInput(lines);
  const WorkbookCells changed = book.Open({{"--set", "Pairs.A7=Case 6N.B01_2"},
                                           {"--set", "Pairs.B7=Case 5T.A02_2"},
                                           {"--set", "Pairs.C7="},
                                           {"--run", "loh_workbook.py$Refresh"},
                                           {"--dump", "refreshed"},
                                           {"--save", "-"}});
  ASSERT_EQ(changed.exitStatus, 0) << changed.errors;
  EXPECT_EQ(changed.LastRow("loaded", "Fragments"), 16);  // none left of the longer input saved
  EXPECT_EQ(changed.Text("loaded", "Fragments", 1, 0), "Case 5N.A01_2");
  expectRows(changed, "loaded", "Pairs", 6, {{"Case 5N.A01_2"}, {"Case 6N.B01_2"}, {""}});
  EXPECT_EQ(changed.Text("loaded", "Results", 5, 1), "Case 5T.A02_2");
  // Refresh analyses the changed list without reopening.
  expectRows(changed, "refreshed", "Results", 5, {{"Case 6N.B01_2", "Case 5T.A02_2"}});

  // The user's own list is kept whole, proposed rows left in it included.
  const WorkbookCells kept = book.Open();
  ASSERT_EQ(kept.exitStatus, 0) << kept.errors;
  expectRows(kept, "loaded", "Pairs", 6,
             {{"Case 6N.B01_2", "Case 5T.A02_2", ""},
              {"Case 6N.B01_2", "Case 6T.B02_2", "Proposed from the markers"},
              {"", "", ""}});
  expectRows(kept, "loaded", "Results", 5, {{"Case 6N.B01_2", "Case 5T.A02_2"}});
  expectRows(kept, "loaded", "Summary", 6, {{"Case 5T.A02_2"}, {"Case 6T.B02_2"}}, 1);

  // The saved workbook once its input file is gone: none of the saved fragments.
  std::filesystem::remove(book.InputPath());
  const WorkbookCells gone = book.Open();
  ASSERT_EQ(gone.exitStatus, 0) << gone.errors;
  EXPECT_EQ(gone.LastRow("loaded", "Fragments"), 0);
  EXPECT_EQ(gone.Text("loaded", "Summary", 2, 1), "The input file is missing: run LOH Analysis.");
  EXPECT_EQ(gone.LastRow("loaded", "Results"), 4);
}

}  // namespace
}  // namespace workstation::testing
