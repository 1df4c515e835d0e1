// The study export status page: when it runs, the locus list question, CSV
// through the grid page, and what it shows.
#include <gtest/gtest.h>

#include <filesystem>

#include "harvestor/service/ErrorLog.h"
#include "harvestor/studypages/ExportStudyStatusPage.h"
#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/TestHost.h"
#include "tests/genotype/SmallStudy.h"

namespace harvestor {
namespace {

struct FakeGrid : IPageAccess, IFragmentGridPage {
  PageBase& IPageAccess_Page() override { return base; }
  std::optional<bool> Export(const std::string& fileName) override {
    exported.push_back(fileName);
    return answer;
  }
  PageBase base;
  std::optional<bool> answer = true;
  std::vector<std::string> exported;
};

class StatusPageTest : public ::testing::Test {
 protected:
  StatusPageTest() {
    page.IPageAccess_Page().Attach(window, std::any(std::shared_ptr<IStudy>(study)), nullptr);
    host.application.windows.onShow = [this](testing::FakeWindow&) {
      host.application.windows.RaisePageActivate(grid);
    };
  }
  void choose(std::int16_t index, const std::string& name) {
    host.application.windows.dialog.filterIndex = index;
    host.application.windows.dialog.fileName = name;
  }
  void activate() { page.IPageAccess_Page().RaiseActivate(); }
  std::vector<std::string> logLines() const {
    const auto shown = page.txtExportErrors.Lines(0, page.txtExportErrors.LineCount());
    return std::vector<std::string>(shown.begin(), shown.end());
  }

  testing::TestHost host;
  std::shared_ptr<testing::FakeStudy> study = testing::MakeSmallStudy();
  std::shared_ptr<testing::FakeWindow> window = std::make_shared<testing::FakeWindow>();
  std::shared_ptr<FakeGrid> grid = std::make_shared<FakeGrid>();
  ExportStudyStatusPage page;
};

TEST_F(StatusPageTest, OnlyTheSecondActivationRunsTheExport) {
  host.WriteLocusList("D1\r\n");
  choose(2, host.Path("Small.pre"));
  EXPECT_FALSE(page.cmdOK.Enabled());
  activate();
  EXPECT_EQ(page.txtExportErrors.LineCount(), 0u);
  EXPECT_EQ(host.ui.yields, 0);
  activate();
  EXPECT_EQ(page.ActivationCount(), 2);
  EXPECT_TRUE(page.cmdOK.Enabled());
  EXPECT_EQ(page.ProgressBar.Value(), 100);
  EXPECT_EQ(page.lblExportName.Caption(), "Exporting: Small");
  EXPECT_EQ(page.lblExportFormat.Caption(), "Format: Pedin");
  EXPECT_EQ(page.lblExportPath.Caption(), "To: " + host.Path("Small.pre"));
  const auto lines = logLines();  // the lines before are the console's export tests'
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "Export Complete.");
  EXPECT_TRUE(host.ui.messages.empty());
  const std::string written = testing::ReadFile(host.Path("Small.pre"));
  activate();  // a third activation changes nothing
  EXPECT_EQ(testing::ReadFile(host.Path("Small.pre")), written);
  EXPECT_EQ(logLines(), lines);
  page.cmdOK.Click();
  EXPECT_TRUE(window->closed);
}

TEST_F(StatusPageTest, NoToTheLocusListQuestionAbortsAndTheNextActivationAsksAgain) {
  choose(4, host.Path("Small.gsr"));
  host.ui.answers = {MsgBoxResult::No};
  activate();
  activate();
  const testing::FakeUserInterface::Message question{
      "Missing or empty LocusList.Txt. Please view the Locus List Editor. Continue?",
      MsgBoxStyle::YesNo | MsgBoxStyle::DefaultButton2, ""};
  EXPECT_EQ(host.ui.messages, std::vector{question});
  EXPECT_EQ(logLines().back(), "Processing aborted by user: 12/5/2026 2:03:09 PM");
  EXPECT_TRUE(page.cmdOK.Enabled());
  EXPECT_EQ(page.ActivationCount(), 1);
  EXPECT_FALSE(std::filesystem::exists(host.Path("Small.gsr")));

  host.ui.answers = {MsgBoxResult::Yes};
  activate();
  EXPECT_EQ(host.ui.messages, (std::vector{question, question}));
  EXPECT_EQ(page.ActivationCount(), 2);
  EXPECT_EQ(testing::ReadFile(host.Path("Small.gsr")).substr(0, 12), "Subject ID\r\n");
  EXPECT_EQ(logLines().back(), "Export Complete.");
}

TEST_F(StatusPageTest, CsvGoesThroughTheGridPageWithoutTheTable) {
  const std::string longName = host.Path("a-very-long-folder-name-for-the-csv-export/Study.csv");
  choose(1, longName);
  std::vector<float> progress;
  struct Watch : IControlObserver {
    std::vector<float>* seen;
    void Changed(const Control& c) override {
      seen->push_back(static_cast<const ProgressBarControl&>(c).Value());
    }
  } watch;
  watch.seen = &progress;
  page.ProgressBar.Observe(&watch);
  activate();
  activate();
  EXPECT_TRUE(host.ui.messages.empty());
  EXPECT_TRUE(host.application.progress->calls.empty());  // no table was built
  EXPECT_EQ(progress, (std::vector<float>{20, 100}));
  EXPECT_EQ(grid->exported, std::vector<std::string>{longName});
  ASSERT_EQ(host.application.windows.calls.size(), 1u);
  EXPECT_EQ(host.application.windows.calls[0].pageName, "FragmentGrid");
  EXPECT_TRUE(host.application.windows.sinks.empty());  // listening only while the grid opens
  const auto lines = logLines();
  EXPECT_EQ(lines[0], "Exporting as CSV format: " + longName.substr(0, 20) + " ... " +
                          longName.substr(longName.size() - 25));
  EXPECT_EQ(lines[2], "Exported: " + longName);
  EXPECT_EQ(lines[3], "Export Complete.");
  EXPECT_EQ(page.lblExportPath.Caption(), "To: " + lines[0].substr(25));
  EXPECT_EQ(page.lblExportFormat.Caption(), "Format: CSV");
}

TEST_F(StatusPageTest, AGridThatAnswersNothingCountsAsAFailure) {
  choose(1, host.Path("Study.csv"));
  grid->answer = std::nullopt;
  activate();
  activate();
  EXPECT_EQ(logLines().back(), "Export failed. Check file open or disk full.");
  EXPECT_TRUE(page.cmdOK.Enabled());
}

TEST_F(StatusPageTest, AnErrorInTheRunIsReportedAndLeavesOKDisabled) {
  host.WriteLocusList("D1\r\n");
  choose(2, "NoFolder.pre");  // a name without a folder cannot be split
  activate();
  EXPECT_THROW(activate(), HError);
  EXPECT_FALSE(page.cmdOK.Enabled());
  EXPECT_EQ(page.ActivationCount(), 1);
  const auto places = host.utility.ReportedPlaces();
  ASSERT_FALSE(places.empty());
  EXPECT_EQ(places.back(), "ExportStudyStatusPage.m_oPageBase_Activate");
  EXPECT_EQ(page.ProgressBar.Value(), 66);
}

TEST_F(StatusPageTest, AnUnknownFormatIsNamedAndNothingRuns) {
  choose(7, host.Path("x"));
  activate();
  activate();
  EXPECT_EQ(host.ui.messages,
            (std::vector<testing::FakeUserInterface::Message>{
                {"Unknown format. Harvestor.InitializeStatusDisplay.", MsgBoxStyle::OKOnly, ""}}));
  EXPECT_FALSE(page.cmdOK.Enabled());
  page.cmdHelp.Click();
  EXPECT_EQ(host.ui.keysSent, std::vector<std::string>{"{F1}"});
}

}  // namespace
}  // namespace harvestor
