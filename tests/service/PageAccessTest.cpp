// An error in a page's IPageAccess_Page is reported as that property's get.
// (That each page answers with its own base every page test relies on.)
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "harvestor/resultexport/ExportResultsOptionsPage.h"
#include "harvestor/resultexport/ExportResultsSelectionPage.h"
#include "harvestor/resultexport/ExportResultsStatusPage.h"
#include "harvestor/service/HError.h"
#include "harvestor/service/PageBase.h"
#include "harvestor/studypages/ExportStudyStatusPage.h"
#include "harvestor/studypages/LocusListEditPage.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

struct PageCase {
  const char* pageClass;
  std::function<std::unique_ptr<IPageAccess>()> make;
};

const PageCase kPages[] = {
    {"ExportResultsSelectionPage", [] { return std::make_unique<ExportResultsSelectionPage>(); }},
    {"ExportResultsOptionsPage", [] { return std::make_unique<ExportResultsOptionsPage>(); }},
    {"ExportResultsStatusPage", [] { return std::make_unique<ExportResultsStatusPage>(); }},
    {"ExportStudyStatusPage", [] { return std::make_unique<ExportStudyStatusPage>(); }},
    {"LocusListEditPage", [] { return std::make_unique<LocusListEditPage>(); }},
};

TEST(PageAccessTest, AFailureIsReportedAsThePropertyGet) {
  for (const PageCase& c : kPages) {
    SCOPED_TRACE(c.pageClass);
    testing::TestHost host;
    try {
      PageAccess(c.pageClass, nullptr);
      ADD_FAILURE() << "no error raised";
    } catch (const HError& e) {
      EXPECT_EQ(e.Number, ErrNo::ObjectNotSet);
    }
    ASSERT_EQ(host.utility.reported.size(), 1u);
    EXPECT_EQ(host.utility.reported[0].component, "Harvestor");
    EXPECT_EQ(host.utility.reported[0].where, c.pageClass);
    EXPECT_EQ(host.utility.reported[0].procedure, "IPageAccess_Page (Get)");
  }
}

}  // namespace
}  // namespace harvestor
