// Showing the export log: the text box always holds the whole log, but a
// showing after the first adds only the new lines.
#include "harvestor/service/ExportLogView.h"

#include <gtest/gtest.h>

#include "harvestor/service/ErrorLog.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

struct Screen : IControlObserver {
  void Changed(const Control& c) override { redrawn.push_back(static_cast<const TextBox&>(c).Text()); }
  void Appended(const Control&, std::string_view added) override { appended.emplace_back(added); }
  std::vector<std::string> redrawn, appended;
};

TEST(ExportLogViewTest, OnlyWhatWasAddedIsShownAgain) {
  testing::TestHost host;
  TextBox box("txtExportErrors");
  Screen screen;
  box.Observe(&screen);
  ExportLogView view;
  ErrorLog::LogExportMsg("a");
  view.Show(box);
  ErrorLog::LogExportMsg("b");
  ErrorLog::LogExportMsg("c");
  view.Show(box);
  view.Show(box);
  EXPECT_EQ(box.Text(), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(box.SelStart(), box.Text().size());
  EXPECT_EQ(screen.redrawn, std::vector<std::string>{"a\r\n"});
  EXPECT_EQ(screen.appended, (std::vector<std::string>{"b\r\nc\r\n", ""}));

  ErrorLog::InitalizeExportLog();  // a new log replaces the text
  ErrorLog::LogExportMsg("d");
  view.Show(box);
  EXPECT_EQ(box.Text(), "d\r\n");
  EXPECT_EQ(screen.redrawn.back(), "d\r\n");
}

}  // namespace
}  // namespace harvestor
