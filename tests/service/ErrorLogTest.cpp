#include <gtest/gtest.h>

#include "harvestor/service/ErrorLog.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

TEST(ErrorLogTest, LinesAreKeptAsLoggedAndANewLogStartsEmpty) {
  testing::TestHost host;
  ErrorLog::LogExportMsg("a");
  ErrorLog::LogExportMsg("");
  ErrorLog::LogExportMsg("\tc");
  EXPECT_EQ(host.Log(), (std::vector<std::string>{"a", "", "\tc"}));
  ErrorLog::InitalizeExportLog();
  EXPECT_TRUE(host.Log().empty());
  ErrorLog::LogExportMsg("d");
  EXPECT_EQ(host.Log(), (std::vector<std::string>{"d"}));
}

}  // namespace
}  // namespace harvestor
