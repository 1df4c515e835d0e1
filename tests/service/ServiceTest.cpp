// The service: command enabling, the study export dialog and the pages it opens.
#include <gtest/gtest.h>

#include <filesystem>

#include "harvestor/resultexport/ExportParameters.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/Service.h"
#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

// The service attached to the fake host, with its commands and one of another's.
class ServiceTest : public ::testing::Test {
 protected:
  ServiceTest() {
    for (const char* name : {"ExportResult", "ExportStudy", "LOH", "Other"}) base->AddCommand(name);
    base->RaiseInitialize();
  }
  std::string enabled() {
    std::string out;
    for (const char* name : {"ExportResult", "ExportStudy", "LOH", "Other"})
      out += base->Commands()->Item(name)->Enabled ? "1" : "0";
    return out;
  }
  const std::vector<testing::ShowPageCall>& calls() { return host.application.windows.calls; }
  testing::TestHost host;
  Service service;
  std::shared_ptr<ServiceBase> base = service.IServiceAccess_Service();
};

TEST_F(ServiceTest, StudyCommandsFollowTheOpenStudy) {
  EXPECT_EQ(enabled(), "1001");
  host.studies.Open(std::make_shared<testing::FakeStudy>());
  EXPECT_EQ(enabled(), "1111");
  host.studies.Close();
  EXPECT_EQ(enabled(), "1001");
}

TEST_F(ServiceTest, ExportStudyPreparesTheDialogAndOpensTheStatusPage) {
  auto study = std::make_shared<testing::FakeStudy>();
  study->name = "a/b:c";
  host.studies.Open(study);
  auto& dialog = host.application.windows.dialog;
  const std::string cwd = std::filesystem::current_path();
  dialog.onShow = [&](testing::FakeCommonDialog& d) {
    std::filesystem::current_path(host.root);  // a dialog may move the current directory
    d.fileName = host.root + "/Runs/x.pre";
    d.filterIndex = 2;
  };
  std::filesystem::create_directories(host.root + "/Runs");
  service.ExportStudy();
  EXPECT_EQ(std::filesystem::current_path(), cwd);
  EXPECT_TRUE(dialog.cancelError);
  // The filters' order is the index each format is chosen by.
  EXPECT_EQ(dialog.filter,
            "CSV (Comma delimited)(*.csv)|*.csv|Linkage (Pedin)(*.pre)|*.pre|"
            "Discovery Manager (DMPopulation) (*.txt)|*.txt|"
            "Genotype Summary Report (Tab delimited) (*.gsr)|*.gsr|");
  ASSERT_EQ(calls().size(), 1u);
  const auto& call = calls()[0];
  EXPECT_EQ(call.pageName, "ExportStudyStatus");
  EXPECT_EQ(call.flag, 1);
  EXPECT_EQ(std::any_cast<std::shared_ptr<IStudy>>(call.parameter), study);
  EXPECT_EQ(ResultExportRoutines::GetLastExportFolder(), host.root + "/Runs");

  // The next dialog opens on CSV, in the remembered folder, with the cleaned name.
  dialog.onShow = [&](testing::FakeCommonDialog& d) {
    EXPECT_EQ(d.fileName, host.root + "/Runs/a_b_c");
    EXPECT_EQ(d.filterIndex, 1);
  };
  service.ExportStudy();
  EXPECT_EQ(calls().back().flag, 0);
}

TEST_F(ServiceTest, CancellingTheDialogOrTheOpenStudyPageOpensNothing) {
  host.application.windows.onShow = [](testing::FakeWindow& w) { w.cancelled = true; };
  service.ExportStudy();
  ASSERT_EQ(calls().size(), 1u);
  EXPECT_EQ(calls()[0].pageName, "OpenStudy");

  host.studies.Open(std::make_shared<testing::FakeStudy>());
  host.application.windows.dialog.cancel = true;
  service.ExportStudy();
  EXPECT_EQ(calls().size(), 1u);
  EXPECT_TRUE(host.utility.reported.empty());
}

TEST_F(ServiceTest, AnOpenStudyPageThatLeavesNoStudyIsReported) {
  EXPECT_THROW(service.ExportStudy(), HError);
  EXPECT_EQ(host.utility.ReportedPlaces(), std::vector<std::string>{"Service.ExportStudy"});
}

TEST_F(ServiceTest, TheResultWizardLeadsToTheStatusPageUnlessCancelled) {
  service.ExportResult();
  ASSERT_EQ(calls().size(), 1u);
  const auto& wizard = calls()[0];
  EXPECT_EQ(wizard.pageName, "ExportResultSelection");
  EXPECT_EQ(wizard.flag, 1);
  EXPECT_EQ(wizard.exitHandler, &service);
  const auto parameters = std::any_cast<std::shared_ptr<ExportParameters>>(wizard.parameter);

  auto window = std::make_shared<testing::FakeWindow>();
  window->pageName = "ExportResultSelection";
  window->parameter = wizard.parameter;
  service.IWindowExitHandler_OnExit(window, true);
  EXPECT_EQ(calls().size(), 1u);
  service.IWindowExitHandler_OnExit(window, false);
  ASSERT_EQ(calls().size(), 2u);
  EXPECT_EQ(calls()[1].pageName, "ExportResultsStatus");
  EXPECT_EQ(calls()[1].flag, -1);
  EXPECT_EQ(std::any_cast<std::shared_ptr<ExportParameters>>(calls()[1].parameter), parameters);
  window->pageName = "exportresultselection";
  service.IWindowExitHandler_OnExit(window, false);
  EXPECT_EQ(calls().size(), 2u);

  service.LaunchLocusListEdit();
  EXPECT_EQ(calls().back().pageName, "ShowLocusListEditPage");
}

}  // namespace
}  // namespace harvestor
