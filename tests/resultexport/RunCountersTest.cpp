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
    std::size_t taken;  // AddResult calls
    bool written;       // WriteFiles called
    const char* caption;
    std::size_t overflows;  // error 6 reports
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
    try {
      page.IPageAccess_Page().RaiseActivate();
    } catch (const HError& e) {
      EXPECT_EQ(e.Number, ErrNo::Overflow);
    }
    const auto& calls = host.libraries.calls;
    EXPECT_EQ(static_cast<std::size_t>(std::count_if(
                  calls.begin(), calls.end(),
                  [](const std::string& call) { return call.starts_with("AddResult "); })),
              c.taken);
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "WriteFiles") != calls.end(), c.written);
    EXPECT_EQ(page.lblExportingXofY.Caption(), c.caption);
    EXPECT_EQ(static_cast<std::size_t>(std::count_if(
                  host.utility.reported.begin(), host.utility.reported.end(),
                  [](const testing::ReportedError& e) { return e.number == ErrNo::Overflow; })),
              c.overflows);
  }
}

}  // namespace
}  // namespace harvestor
