// The result export run: naming, questions, Cancel and terminate, CRV sets,
// and what the page shows.
#include <gtest/gtest.h>

#include <filesystem>

#include "harvestor/resultexport/ExportResultsStatusPage.h"
#include "harvestor/service/ErrorLog.h"
#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

class ResultsStatusPageTest : public ::testing::Test {
 protected:
  ResultsStatusPageTest() {
    page.IPageAccess_Page().Attach(window, std::any(parameters), [this] { ++revalidations; });
    page.IPageAccess_Page().RaiseInitialize();
    parameters->strFullPathAndFileName = host.Path("{Result Name}.txt");
    parameters->strFileExtension = "txt";
    parameters->enumFileFormat = TAB_DELIMITED;
    parameters->bSendResultOutput = true;
  }
  void Select(const std::vector<std::string>& names) {
    for (const auto& name : names) {
      auto result = std::make_shared<testing::FakeResult>();
      result->name = name;
      results.push_back(result);
      parameters->colSelectedResults->Add(result);
    }
  }
  void Crv(const std::string& target) {
    parameters->strFullPathAndFileName = host.Path(target);
    parameters->strFileExtension = "CRV";
    parameters->enumFileFormat = CRV;
  }
  void Run() {
    page.IPageAccess_Page().RaiseActivate();
    page.IPageAccess_Page().RaiseActivate();
  }

  testing::TestHost host;
  std::shared_ptr<ExportParameters> parameters = std::make_shared<ExportParameters>();
  std::shared_ptr<testing::FakeWindow> window = std::make_shared<testing::FakeWindow>();
  std::vector<std::shared_ptr<testing::FakeResult>> results;
  ExportResultsStatusPage page;
  int revalidations = 0;
};

TEST_F(ResultsStatusPageTest, ThreeResultsAreWrittenOneFileEach) {
  Select({"R1", "Sample 7.B03_0407221455  ", "R3"});
  parameters->bRemoveSuffix = true;
  page.IPageAccess_Page().RaiseActivate();
  EXPECT_TRUE(host.libraries.calls.empty());
  EXPECT_FALSE(page.IPageAccess_Page().RaiseValidate());
  page.IPageAccess_Page().RaiseActivate();
  EXPECT_EQ(host.Log(),
            (std::vector<std::string>{
                "Exporting results started: 12/5/2026 2:03:09 PM",
                "Exported: R1 as " + host.Path("R1.txt"),
                "Exported: Sample 7.B03_0407221455 as " + host.Path("Sample 7.txt"),
                "Exported: R3 as " + host.Path("R3.txt"), "Export completed. No errors."}));
  EXPECT_EQ(
      std::vector<std::string>(host.libraries.calls.begin(), host.libraries.calls.begin() + 5),
      (std::vector<std::string>{"Options HEADER=0,FRAGLIST=1,RESULTDATA=0,SAMPLEDATA=0", "Flags 0",
                                "Format 1", "Output " + host.Path("R1.txt"), "Export"}));
  EXPECT_EQ(results[0]->releases, 1);
  EXPECT_EQ(page.lblExportingXofY.Caption(), "Exported: 3 of 3 files");
  EXPECT_EQ(page.lblExportName.Caption(), "Export complete.");
  EXPECT_EQ(page.ProgressBar.Value(), 100);
  EXPECT_TRUE(page.cmdOK.Visible() && page.cmdOK.Enabled() && !page.cmdCancel.Visible());
  EXPECT_TRUE(page.IPageAccess_Page().RaiseValidate());
  EXPECT_EQ(revalidations, 1);
  EXPECT_EQ(host.application.progress->calls,
            (std::vector<std::string>{"Start 3 0", "Advance", "Finish"}));
  EXPECT_EQ(page.txtExportResultStatus.Text(0, page.txtExportResultStatus.LineCount()),
            testing::CrLf(host.Log()));
  page.IPageAccess_Page().RaiseActivate();  // a third activation changes nothing
  EXPECT_EQ(host.libraries.exports, 3);
  page.cmdOK.Click();
  EXPECT_TRUE(window->closed);
}

TEST_F(ResultsStatusPageTest, AFailedWriteIsCountedAndTheRunGoesOn) {
  Select({"R1", "R2", "R3"});
  host.libraries.statuses = {1, 0, 1};
  Run();
  const auto log = host.Log();
  EXPECT_EQ(log[2], "Error exporting: R2 as " + host.Path("R2.txt"));
  EXPECT_EQ(log.back(), "Exporting failed for 1 result(s).");
  EXPECT_EQ(page.lblExportingXofY.Caption(), "Exported: 2 of 3 files");
}

TEST_F(ResultsStatusPageTest, AnExistingFileIsAskedAboutAndCancelSkipsIt) {
  Select({"R1", "R2"});
  testing::WriteFile(host.Path("R1.txt"), "keep");
  testing::WriteFile(host.Path("R2.txt"), "old");
  host.ui.answers = {MsgBoxResult::Cancel, MsgBoxResult::OK};
  Run();
  const testing::FakeUserInterface::Message asked{
      "File name exists:\r\n\r\n[OK] to overwrite file.\r\n[Cancel] to skip file.\r\n",
      MsgBoxStyle::OKCancel | MsgBoxStyle::DefaultButton2, "Export Results"};
  EXPECT_EQ(host.ui.messages, (std::vector{asked, asked}));
  EXPECT_EQ(host.Log()[1], "Skipped: R1 as " + host.Path("R1.txt"));
  EXPECT_EQ(testing::ReadFile(host.Path("R1.txt")), "keep");
  EXPECT_EQ(testing::ReadFile(host.Path("R2.txt")), "exported\r\n");
  EXPECT_EQ(host.Log().back(), "Export completed. No errors.");
  EXPECT_EQ(page.lblExportingXofY.Caption(), "Exported: 1 of 2 files");
}

TEST_F(ResultsStatusPageTest, AFixedNameIsCountedUpOrAskedAgain) {
  Select({"R1", "R2", "R3"});
  parameters->strFullPathAndFileName = host.Path("Name.txt");
  parameters->bResolveFilenameConflicts = true;
  Run();
  for (const char* f : {"Name.txt", "Name_1.txt", "Name_2.txt"}) {
    EXPECT_TRUE(std::filesystem::exists(host.Path(f))) << f;
  }
  EXPECT_TRUE(host.ui.messages.empty());
}

TEST_F(ResultsStatusPageTest, CancelTakenInAtTheFirstYieldStopsBeforeTheSecondResult) {
  Select({"R1", "R2", "R3", "R4", "R5"});
  // The run yields once at its start, then once before each result is written:
  // Cancel is clicked at the second; R1 is still written, R2 no longer.
  host.ui.atNextYield.push_back(
      [&] { host.ui.atNextYield.push_back([&] { page.cmdCancel.Click(); }); });
  Run();
  EXPECT_EQ(host.libraries.exports, 1);
  EXPECT_EQ(host.Log()[1], "Exported: R1 as " + host.Path("R1.txt"));
  EXPECT_EQ(host.Log().back(), "Export cancelled.");
  EXPECT_EQ(page.lblExportingXofY.Caption(), "Exported: 1 of 5 files");
  EXPECT_FALSE(page.cmdCancel.Enabled());
  EXPECT_EQ(revalidations, 0);
  EXPECT_TRUE(page.IPageAccess_Page().RaiseValidate());
}

TEST_F(ResultsStatusPageTest, TerminateStopsTheRunWithoutTheFinalDisplay) {
  Select({"R1", "R2"});
  host.libraries.duringExport = [this] { page.IPageAccess_Page().RaiseTerminate(); };
  Run();
  EXPECT_EQ(host.libraries.exports, 1);
  EXPECT_EQ(host.Log().back(), "Export cancelled.");
  EXPECT_EQ(page.lblExportingXofY.Caption(), "Exporting: 1 of 2 files");
  EXPECT_FALSE(page.cmdOK.Visible());
}

TEST_F(ResultsStatusPageTest, ACrvRunHandsEveryResultToOneSet) {
  Select({"R1  ", "R2", "R3", "R4"});
  Crv("Plate7.CRV");
  Run();
  EXPECT_EQ(
      host.libraries.calls,
      (std::vector<std::string>{"SetOutputFile " + host.Path("Plate7.CRV"), "AddResult R1  ",
                                "AddResult R2", "AddResult R3", "AddResult R4", "WriteFiles"}));
  EXPECT_EQ(host.Log()[1], "Exported: R1");
  EXPECT_EQ(page.lblExportingXofY.Caption(), "Exported: 4 of 4 files");
  EXPECT_FALSE(page.cmdCancel.Enabled());
  EXPECT_EQ(results[3]->releases, 1);
}

TEST_F(ResultsStatusPageTest, AnExistingCrvSetAndCancelWritesNothing) {
  Select({"R1", "R2"});
  Crv("Plate7.CRV");
  testing::WriteFile(host.Path("Plate7_D2.CRV"), "");
  host.ui.answers = {MsgBoxResult::Cancel};
  Run();
  ASSERT_EQ(host.ui.messages.size(), 1u);  // its text is the naming tests'
  EXPECT_EQ(host.libraries.calls,
            std::vector<std::string>{"SetOutputFile " + host.Path("Plate7.CRV")});
  EXPECT_EQ(host.Log().back(), "Export cancelled.");
  EXPECT_FALSE(page.lblExportingXofY.Visible());
}

TEST_F(ResultsStatusPageTest, AnErrorEndsTheRunAndTheNextActivationStartsAgain) {
  Select({"R1"});
  parameters->strFullPathAndFileName = "{Result Name}.txt";  // no folder: cannot be split
  page.IPageAccess_Page().RaiseActivate();
  EXPECT_EQ(testing::ErrorOf([&] { page.IPageAccess_Page().RaiseActivate(); }),
            ErrNo::InvalidProcedureCall);
  EXPECT_EQ(
      host.utility.ReportedPlaces(),
      (std::vector<std::string>{
          "FileName.Initialize", "ExportResultsStatusPage.UpdateStatusDisplay",
          "ExportResultsStatusPage.doExport", "ExportResultsStatusPage.m_oPageBase_Activate"}));
  EXPECT_FALSE(page.IPageAccess_Page().RaiseValidate() || page.cmdOK.Visible());
  parameters->strFullPathAndFileName = host.Path("{Result Name}.txt");
  page.IPageAccess_Page().RaiseActivate();
  EXPECT_EQ(host.Log().back(), "Export completed. No errors.");
}

}  // namespace
}  // namespace harvestor
