// The LOH workbook on the demo study, as LOH Analysis leaves it: the demo's
// tumour/normal pairs are proposed and called.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"
#include "tests/spreadsheet/LohWorkbook.h"

namespace workstation::testing {
namespace {

TEST(LohDemoTest, TheDemoPairsAreProposedAndCalled) {
  const std::string why = LohWorkbook::Unavailable();
  if (!why.empty()) GTEST_SKIP() << "LibreOffice cannot open the LOH workbook here: " << why;
  harvestor::testing::TestHost host;
  LohWorkbook book(host.root + "/App");
  const auto demo = RunHarvestor({"demo"}, host.root + "/App/bin");
  ASSERT_EQ(demo.exitStatus, 0) << demo.err;
  const WorkbookCells cells = book.Open({{"--only", "Pairs,Results,Summary"}});
  ASSERT_EQ(cells.exitStatus, 0) << cells.errors;
  EXPECT_TRUE(cells.questions.empty()) << cells.questions.front();

  const std::string normal1 = "Patient 1N.A11_0407241200", tumour1 = "Patient 1T.A12_0407241200";
  const std::string normal2 = "Patient 2N.B11_0407241200", tumour2 = "Patient 2T.B12_0407241200";
  EXPECT_EQ(cells.FindRow("loaded", "Pairs", {normal1, tumour1}), 6);
  EXPECT_EQ(cells.FindRow("loaded", "Pairs", {normal2, tumour2}), 7);
  EXPECT_EQ(cells.Text("loaded", "Pairs", 8, 0), "");

  // The loci where the demo's tumours lost an allele, and its homozygous one.
  const struct {
    std::string normal, tumour, locus, call;
  } designed[] = {
      {normal1, tumour1, "D3S1358", "LOH"},          {normal1, tumour1, "D13S317", "LOH"},
      {normal1, tumour1, "vWA", "Retained"},         {normal2, tumour2, "vWA", "LOH"},
      {normal2, tumour2, "TH01", "Not informative"}, {normal2, tumour2, "D3S1358", "Retained"}};
  for (const auto& d : designed) {
    const int row = cells.FindRow("loaded", "Results", {d.normal, d.tumour, d.locus});
    ASSERT_GT(row, 4) << d.tumour << " " << d.locus;
    EXPECT_EQ(cells.Text("loaded", "Results", row, 10), d.call) << d.tumour << " " << d.locus;
  }
  const std::vector<std::vector<std::string>> summary{{normal1, tumour1, "20", "2"},
                                                      {normal2, tumour2, "19", "1"}};
  for (int r = 0; r < 2; ++r) {
    for (int c = 0; c < 4; ++c)
      EXPECT_EQ(cells.Text("loaded", "Summary", 6 + r, c), summary[r][c]) << r << "," << c;
  }
}

}  // namespace
}  // namespace workstation::testing
