// The run's 16-bit counters at their limit, with fakes: the selection's count
// and the number of the file being written, which ends one past the results
// written. A run of 32766 results completes; one more and the counter of the
// file being written passes 32767 after the last result is taken (error 6,
// no set written); past 32767 the count itself overflows before anything.
#include <gtest/gtest.h>

#include <algorithm>

#include "harvestor/resultexport/ExportResultsStatusPage.h"
#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

TEST(RunCountersTest, ARunTakesAtMost32766Results) {
  const struct {
    int selected;
    long taken;    // AddResult calls
    bool written;  // WriteFiles called
    const char* caption;
    long overflows;  // error 6 reports
  } cases[] = {
      {32766, 32766, true, "Exported: 32766 of 32766 files", 0},
      {32767, 32767, false, "Exporting: 32767 of 32767 files", 2},
      {32768, 0, false, "Exporting:", 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.selected);
    testing::TestHost host;
    auto parameters = std::make_shared<ExportParameters>();
    parameters->strFullPathAndFileName = host.Path("Plate.CRV");
    parameters->strFileExtension = "CRV";
    parameters->enumFileFormat = CRV;
    for (int i = 0; i < c.selected; ++i) {
      auto result = std::make_shared<testing::FakeResult>();
      result->name = "R" + std::to_string(i);
      parameters->colSelectedResults->Add(result);
    }
    ExportResultsStatusPage page;
    page.IPageAccess_Page().Attach(std::make_shared<testing::FakeWindow>(), std::any(parameters),
                                   [] {});
    page.IPageAccess_Page().RaiseInitialize();
    page.IPageAccess_Page().RaiseActivate();
    EXPECT_EQ(testing::ErrorOf([&] { page.IPageAccess_Page().RaiseActivate(); }),
              c.overflows > 0 ? ErrNo::Overflow : 0);
    const auto& calls = host.libraries.calls;
    EXPECT_EQ(
        std::ranges::count_if(calls, [](auto& call) { return call.starts_with("AddResult "); }),
        c.taken);
    EXPECT_EQ(std::ranges::count(calls, "WriteFiles"), c.written ? 1 : 0);
    EXPECT_EQ(page.lblExportingXofY.Caption(), c.caption);
    EXPECT_EQ(
        std::ranges::count(host.utility.reported, ErrNo::Overflow, &testing::ReportedError::number),
        c.overflows);
  }
}

}  // namespace
}  // namespace harvestor
