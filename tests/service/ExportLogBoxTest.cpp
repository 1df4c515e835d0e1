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
  box.Show();
  ErrorLog::LogExportMsg("b");
  ErrorLog::LogExportMsg("c");
  box.Show();
  box.Show();
  EXPECT_EQ(screen.events,
            (std::vector<std::string>{"changed 0", "added a\r\n", "repainted", "added b\r\nc\r\n",
                                      "repainted", "repainted"}));
  // A new log replaces what is shown only when the box is shown again.
  ErrorLog::InitalizeExportLog();
  ErrorLog::LogExportMsg("d");
  EXPECT_EQ(AllText(box), "a\r\nb\r\nc\r\n");
  screen.events.clear();
  box.Show();
  EXPECT_EQ(AllText(box), "d\r\n");
  EXPECT_EQ(screen.events, (std::vector<std::string>{"changed 0", "added d\r\n", "repainted"}));
}

TEST(ExportLogBoxTest, WindowsOfTheBoxJoinToItsWholeText) {
  testing::TestHost host;
  ExportLogBox box("txtExportErrors");
  const std::string longLine(5000, 'y');
  for (const std::string& line : {std::string("first"), std::string("\tdetail"), longLine,
                                  std::string(), std::string("last")}) {
    ErrorLog::LogExportMsg(line);
  }
  box.Show();
  const std::string whole = AllText(box);
  EXPECT_EQ(whole, "first\r\n\tdetail\r\n" + longLine + "\r\n\r\nlast\r\n");  // an empty line too
  for (std::size_t size = 1; size <= 6; ++size) {
    std::string joined;
    for (std::size_t first = 0; first < box.LineCount(); first += size)
      joined += box.Text(first, size);
    EXPECT_EQ(joined, whole) << "windows of " << size;
  }
  EXPECT_EQ(box.Text(4, 3), "last\r\n");
  EXPECT_EQ(box.Text(5, 3), "");
}

TEST(ExportLogBoxTest, ABoxShowsOnlyWhatWasLoggedByItsLastShowing) {
  testing::TestHost host;
  ErrorLog::LogExportMsg("a");
  ExportLogBox box("txtExportErrors");
  EXPECT_EQ(box.LineCount(), 0u);  // not yet shown
  EXPECT_EQ(box.Line(0), "");
  EXPECT_EQ(box.Text(0, 10), "");
  box.Show();
  ErrorLog::LogExportMsg("b");
  EXPECT_EQ(box.LineCount(), 1u);
  EXPECT_EQ(box.Line(1), "");
  EXPECT_EQ(box.Lines(0, 5).Count(), 1u);
  EXPECT_EQ(box.Text(0, 5), "a\r\n");
}

}  // namespace
}  // namespace harvestor
