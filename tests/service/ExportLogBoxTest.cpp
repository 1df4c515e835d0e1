// A page's box showing the export log: it shows what a text box holding every
// line followed by CR LF would, and tells its host only what changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/ExportLogBox.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

struct Screen : IControlObserver {
  void Changed(const Control& c) override {
    events.push_back("changed " + std::to_string(static_cast<const ExportLogBox&>(c).LineCount()));
  }
  void LinesAdded(const Control& c, std::size_t first, std::size_t count) override {
    events.push_back("added " + static_cast<const ExportLogBox&>(c).Text(first, count));
  }
  void Repainted(const Control&) override { events.emplace_back("repainted"); }
  std::vector<std::string> events;
};

std::string AllText(const ExportLogBox& box) { return box.Text(0, box.LineCount()); }

TEST(ExportLogBoxTest, TheHostHearsOnlyWhatChangedSinceTheLastShowing) {
  testing::TestHost host;
  ExportLogBox box("txtExportErrors");
  Screen screen;
  box.Observe(&screen);
  ErrorLog::LogExportMsg("a");
  EXPECT_EQ(box.LineCount(), 0u);  // not yet shown
  EXPECT_EQ(box.Text(0, 10), "");
  box.Show();
  ErrorLog::LogExportMsg("");
  ErrorLog::LogExportMsg("c");
  EXPECT_EQ(box.LineCount(), 1u);
  EXPECT_EQ(box.Line(1), "");
  box.Show();
  box.Show();
  EXPECT_EQ(screen.events, (std::vector<std::string>{"changed 0", "added a\r\n", "repainted",
                                                     "added \r\nc\r\n", "repainted", "repainted"}));
  EXPECT_EQ(box.Text(2, 3), "c\r\n");
  EXPECT_EQ(box.Text(3, 3), "");
  // A new log replaces what is shown only when the box is shown again.
  ErrorLog::InitalizeExportLog();
  ErrorLog::LogExportMsg("d");
  EXPECT_EQ(AllText(box), "a\r\n\r\nc\r\n");
  screen.events.clear();
  box.Show();
  EXPECT_EQ(AllText(box), "d\r\n");
  EXPECT_EQ(screen.events, (std::vector<std::string>{"changed 0", "added d\r\n", "repainted"}));
}

}  // namespace
}  // namespace harvestor
