// The LOH launch: the input file's lines, the peak area rule, and the
// launch stopping at each failing step.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "harvestor/loh/LOH.h"
#include "harvestor/service/HostObjects.h"
#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

std::shared_ptr<testing::FakeStudy> Study() {
  auto study = std::make_shared<testing::FakeStudy>();
  auto& r1 = study->AddResult("Sample 1   ", "S1");
  auto& f = r1.Call("D1", "12");
  f.dye = 2;
  f.size = 150.5f;
  f.height = 1200;
  f.area = 3000;
  auto& unnamed = r1.Call("", "");  // no locus: still written
  unnamed.comment = "size \"std\"";
  r1.Call("D2", "9").excluded = true;
  study->AddResult("R2", "S2", true).Call("D1", "14");
  return study;
}

class LOHTest : public ::testing::Test {
 protected:
  LOHTest() {
    std::filesystem::create_directories(host.root + "/App/ReportTemplates");
    testing::WriteFile(host.root + "/App/ReportTemplates/LOH.xls", "workbook");
  }
  std::string Input() const { return testing::ReadFile(host.exportFolder + "/InputLOH.temp"); }
  testing::TestHost host;
};

TEST_F(LOHTest, LinesQuoteTextsAndWriteNumbersInTheLocale) {
  const auto study = Study();
  const auto& result = *study->results->items[0];  // its line in the point locale: the launch's
  HostObjects::SetEnvironment({nullptr, host.root + "/App/bin", ","});
  EXPECT_EQ(LOH::FormatLOHLine(result, result.fragments->items[0]),
            "\"Sample 1\",2,150,5,1200,\"D1\",\"12\",\"\",3000");
  EXPECT_EQ(LOH::FormatSingle(0.1f), "0,1");
  EXPECT_EQ(LOH::FormatSingle(1234567.f), "1234567");
  EXPECT_EQ(LOH::FormatSingle(12345678.f), "1,234568E+07");
  HostObjects::SetEnvironment({nullptr, host.root + "/App/bin", "."});
  // Otherwise the form is printf's seven-digit capital G.
  for (const float value : {0.f, -0.f, 1.f, 0.0001f, 0.00001234567f, 150.5f, -2.25f, 9999999.f,
                            99999995.f, 1e-30f, 3.4e38f, 1.f / 0.f, -1.f / 0.f}) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.7G", static_cast<double>(value));
    EXPECT_EQ(LOH::FormatSingle(value), expected) << value;
  }
}

TEST_F(LOHTest, PeakAreaFollowsTheAnalysisRevision) {
  testing::FakeStudyResult result;
  auto& f = result.Call("D1", "12");
  f.area = 100;
  f.divisor = 0;
  result.result->sample->analysisRevision = 2;
  EXPECT_EQ(LOH::LOHPeakArea(result, f), 100);
  result.result->sample->analysisRevision = 1;
  EXPECT_EQ(LOH::LOHPeakArea(result, f), 0);
  f.divisor = 2;
  result.result->sample->record->areaScale = 1.5;
  EXPECT_FLOAT_EQ(LOH::LOHPeakArea(result, f), 750);
}

TEST_F(LOHTest, ALaunchWritesTheInputFileAndOpensTheWorkbook) {
  host.filter.predicate = [](const IFragment& f) { return f.AlleleID() == "never"; };
  LOH::LaunchLOHAnalysis(Study());
  EXPECT_TRUE(host.ui.messages.empty());
  EXPECT_EQ(
      Input(),
      testing::CrLf({"Result Name,Dye,Fragment Size,Peak Height,Locus,Allele ID,Comment,Peak Area",
                     "\"Sample 1\",2,150.5,1200,\"D1\",\"12\",\"\",3000",
                     "\"Sample 1\",1,0,0,\"\",\"\",\"size \"std\"\",0"}));
  const std::string workbook = host.root + "/App/ReportTemplates/LOH.xls";
  EXPECT_EQ(host.spreadsheet.calls, (std::vector<std::string>{"Create", "Quit", "Running", "Create",
                                                              "Open " + workbook, "Visible"}));
  EXPECT_EQ(host.application.progress->calls,
            (std::vector<std::string>{"Start 100 0", "Advance", "Finish"}));
  EXPECT_EQ(host.filter.asked, 3);

  auto excluded = std::make_shared<testing::FakeStudy>();
  excluded->AddResult("R1", "S1", true).Call("D1", "1");
  LOH::LaunchLOHAnalysis(excluded);
  EXPECT_EQ(Input(),
            "Result Name,Dye,Fragment Size,Peak Height,Locus,Allele ID,Comment,Peak Area\r\n");
}

TEST_F(LOHTest, SiblingFoldersDoNotDependOnASeparatorAtTheEnd) {
  const std::string app = host.root + "/App";
  for (const std::string& folder : {app + "/bin", app + "/bin/", app + "/bin//", app + "/bin\\"}) {
    SCOPED_TRACE(folder);
    HostObjects::SetEnvironment({nullptr, folder, "."});
    EXPECT_TRUE(LOH::CheckLOHSpreadsheet());
    EXPECT_EQ(LOH::TemplatesFolder(), app + "/ReportTemplates");
    EXPECT_EQ(LOH::ExportFolder(), app + "/Export");
    EXPECT_EQ(LOH::SpreadsheetPath(), app + "/ReportTemplates/LOH.xls");
  }
  EXPECT_TRUE(host.ui.messages.empty());
}

TEST_F(LOHTest, TheLaunchStopsAtTheFirstFailingStepWithItsMessage) {
  const auto launch = [&] {
    LOH::LaunchLOHAnalysis(Study());
    return host.ui.messages.empty() ? std::string() : host.ui.messages.back().prompt;
  };
  host.spreadsheet.installed = false;
  EXPECT_EQ(launch(),
            "Microsoft Excel has not been installed.\r\nTo run LOH, exit the application, install "
            "Microsoft Excel, and restart the application.");
  EXPECT_EQ(host.ui.messages.back().title, "LOH Analysis");
  EXPECT_EQ(host.ui.messages.back().style, MsgBoxStyle::OKOnly);
  host.spreadsheet.installed = true;

  std::filesystem::remove(host.root + "/App/ReportTemplates/LOH.xls");
  EXPECT_EQ(launch(),
            "The LOH spreadsheet is missing. \r\nTo run LOH analysis: \r\ninstall file: LOH.xls\r\n"
            "in directory: " +
                host.root + "/App/ReportTemplates");
  testing::WriteFile(host.root + "/App/ReportTemplates/LOH.xls", "workbook");

  // The open workbook's name is compared without regard to case.
  host.spreadsheet.activeWorkbook = host.root + "/App/reporttemplates/loh.XLS";
  EXPECT_EQ(launch(), "The LOH analysis is already running.");
  EXPECT_FALSE(std::filesystem::exists(host.exportFolder + "/InputLOH.temp"));
  host.spreadsheet.activeWorkbook.clear();

  std::filesystem::remove_all(host.exportFolder);
  EXPECT_EQ(launch(),
            "Can't create LOH input file. \r\nCheck LOH analysis running, file open or disk full.");
  EXPECT_EQ(host.ui.messages.size(), 4u);
  EXPECT_TRUE(host.utility.reported.empty());
}

}  // namespace
}  // namespace harvestor
