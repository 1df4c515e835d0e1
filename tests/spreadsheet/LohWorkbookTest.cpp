// The LOH workbook in a real, headless LibreOffice: it reads the input file
// the LOH launch writes as it opens, without asking anything.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/TestHost.h"
#include "tests/spreadsheet/LohWorkbook.h"

namespace workstation::testing {
namespace {

class LohWorkbookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string why = LohWorkbook::Unavailable();
    if (!why.empty()) GTEST_SKIP() << "LibreOffice cannot open the LOH workbook here: " << why;
  }
  harvestor::testing::TestHost host;
};

TEST_F(LohWorkbookTest, FragmentsHoldsEveryLineOfTheInputFileWithNumbersAsNumbers) {
  LohWorkbook book(host.root);
  book.WriteInput({
      R"("Case 1N.A01_0407221455",1,150.5,1200,"D3S1358","12","",3000)",
      R"("Case 1T.A02_0407221455",2,154.25,980,"D3S1358","13","off, ladder",2750.5)",
      R"("Ladder.H12_0407221455",4,75,900,"","","size standard",9000)",
      // As the launch writes them where the decimal separator is a comma.
      R"("Case 2T.B02_1",3,201,75,1500,"vWA","17","",4100,25)",
      R"("Case 2T.B02_1",3,205,5,1480,5,"vWA","18","a "quoted" note",3900)",
  });
  const WorkbookCells cells = book.Open();
  ASSERT_EQ(cells.exitStatus, 0) << cells.errors;
  EXPECT_TRUE(cells.questions.empty()) << cells.questions.front();
  const std::vector<std::string> header{"Result Name", "Dye",       "Fragment Size", "Peak Height",
                                        "Locus",       "Allele ID", "Comment",       "Peak Area"};
  // A cell's text; "#" before it marks a number, and "" is an empty cell.
  const std::vector<std::vector<std::string>> rows{
      {"Case 1N.A01_0407221455", "#1", "#150.5", "#1200", "D3S1358", "12", "", "#3000"},
      {"Case 1T.A02_0407221455", "#2", "#154.25", "#980", "D3S1358", "13", "off, ladder",
       "#2750.5"},
      {"Ladder.H12_0407221455", "#4", "#75", "#900", "", "", "size standard", "#9000"},
      {"Case 2T.B02_1", "#3", "#201.75", "#1500", "vWA", "17", "", "#4100.25"},
      {"Case 2T.B02_1", "#3", "#205.5", "#1480.5", "vWA", "18", "a \"quoted\" note", "#3900"},
  };
  for (int c = 0; c < 8; ++c) EXPECT_EQ(cells.Text("loaded", "Fragments", 0, c), header[c]);
  ASSERT_EQ(cells.LastRow("loaded", "Fragments"), static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < 8; ++c) {
      const SheetCell got = cells.At("loaded", "Fragments", r + 1, c);
      const std::string& want = rows[r][c];
      const bool number = want.starts_with('#');
      EXPECT_EQ(got.kind, number         ? "number"
                          : want.empty() ? "empty"
                                         : "text")
          << "row " << r + 1 << " column " << c;
      EXPECT_EQ(got.text, number ? want.substr(1) : want) << "row " << r + 1 << " column " << c;
    }
  }
  EXPECT_EQ(cells.Text("loaded", "Summary", 0, 1), book.InputPath());
  EXPECT_EQ(cells.Text("loaded", "Summary", 2, 1), "5");
}

TEST_F(LohWorkbookTest, ASavedWorkbookReadsTheInputFileAgainWhenOpened) {
  LohWorkbook book(host.root);
  book.WriteInput({R"("Old 1N.A01_1",1,100,500,"vWA","14","",1000)",
                   R"("Old 1N.A01_1",1,104,450,"vWA","15","",900)",
                   R"("Old 1T.A02_1",1,100,400,"vWA","14","",800)"});
  ASSERT_EQ(book.Open({{"--save", "-"}}).exitStatus, 0);
  book.WriteInput({R"("New 2N.B01_1",3,205,700,"D13S317","11","",1500)"});
  const WorkbookCells cells = book.Open();
  ASSERT_EQ(cells.exitStatus, 0) << cells.errors;
  EXPECT_EQ(cells.LastRow("loaded", "Fragments"), 1);
  EXPECT_EQ(cells.Text("loaded", "Fragments", 1, 0), "New 2N.B01_1");
  EXPECT_EQ(cells.Text("loaded", "Summary", 2, 1), "1");
}

TEST_F(LohWorkbookTest, WithoutAnInputFileTheWorkbookSaysSo) {
  LohWorkbook book(host.root);
  const WorkbookCells cells = book.Open();
  ASSERT_EQ(cells.exitStatus, 0) << cells.errors;
  EXPECT_EQ(cells.LastRow("loaded", "Fragments"), 0);
  EXPECT_EQ(cells.Text("loaded", "Summary", 2, 1), "The input file is missing: run LOH Analysis.");
  EXPECT_EQ(cells.LastRow("loaded", "Results"), 4);
}

}  // namespace
}  // namespace workstation::testing
