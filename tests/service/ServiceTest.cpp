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

struct Attached {
  explicit Attached(testing::TestHost& host) {
    base = service.IServiceAccess_Service();
    for (const char* name : {"ExportResult", "ExportStudy", "LOH", "Other"}) base->AddCommand(name);
    base->RaiseInitialize();
    (void)host;
  }
  bool enabled(const char* name) { return base->Commands()->Item(name)->Enabled; }
  Service service;
  std::shared_ptr<ServiceBase> base;
};

TEST(ServiceTest, StudyCommandsFollowTheOpenStudy) {
  testing::TestHost host;
  Attached a(host);
  EXPECT_FALSE(a.enabled("ExportStudy"));
  EXPECT_FALSE(a.enabled("LOH"));
  EXPECT_TRUE(a.enabled("ExportResult"));
  host.studies.Open(std::make_shared<testing::FakeStudy>());
  EXPECT_TRUE(a.enabled("ExportStudy"));
  EXPECT_TRUE(a.enabled("LOH"));
  host.studies.Close();
  EXPECT_FALSE(a.enabled("ExportStudy"));
  EXPECT_FALSE(a.enabled("LOH"));
  EXPECT_TRUE(a.enabled("Other"));
}

TEST(ServiceTest, ExportStudyPreparesTheDialogAndOpensTheStatusPage) {
  testing::TestHost host;
  Attached a(host);
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
  a.service.ExportStudy();
  EXPECT_EQ(std::filesystem::current_path(), cwd);
  EXPECT_EQ(dialog.title, "Export Fragments/Genotypes As");
  EXPECT_EQ(dialog.flags, 0x200806);
  EXPECT_TRUE(dialog.cancelError);
  EXPECT_EQ(dialog.filter,
            "CSV (Comma delimited)(*.csv)|*.csv|Linkage (Pedin)(*.pre)|*.pre|"
            "Discovery Manager (DMPopulation) (*.txt)|*.txt|"
            "Genotype Summary Report (Tab delimited) (*.gsr)|*.gsr|");
  ASSERT_EQ(host.application.windows.calls.size(), 1u);
  const auto& call = host.application.windows.calls[0];
  EXPECT_EQ(call.pageName, "ExportStudyStatus");
  EXPECT_EQ(call.flag, 1);
  EXPECT_EQ(std::any_cast<std::shared_ptr<IStudy>>(call.parameter), study);
  EXPECT_EQ(ResultExportRoutines::GetLastExportFolder(), host.root + "/Runs");

  // The next dialog opens on CSV, in the remembered folder, with the cleaned name.
  dialog.onShow = [&](testing::FakeCommonDialog& d) {
    EXPECT_EQ(d.fileName, host.root + "/Runs/a_b_c");
    EXPECT_EQ(d.filterIndex, 1);
  };
  a.service.ExportStudy();
  EXPECT_EQ(host.application.windows.calls.back().flag, 0);
}

TEST(ServiceTest, CancellingTheDialogOrTheOpenStudyPageOpensNothing) {
  testing::TestHost host;
  Attached a(host);
  host.application.windows.onShow = [](testing::FakeWindow& w) { w.cancelled = true; };
  a.service.ExportStudy();
  ASSERT_EQ(host.application.windows.calls.size(), 1u);
  EXPECT_EQ(host.application.windows.calls[0].pageName, "OpenStudy");

  host.studies.Open(std::make_shared<testing::FakeStudy>());
  host.application.windows.dialog.cancel = true;
  a.service.ExportStudy();
  EXPECT_EQ(host.application.windows.calls.size(), 1u);
  EXPECT_TRUE(host.utility.reported.empty());
}

TEST(ServiceTest, AnOpenStudyPageThatLeavesNoStudyIsReported) {
  testing::TestHost host;
  Attached a(host);
  EXPECT_THROW(a.service.ExportStudy(), HError);
  EXPECT_EQ(host.utility.ReportedPlaces(), std::vector<std::string>{"Service.ExportStudy"});
}

TEST(ServiceTest, TheResultWizardLeadsToTheStatusPageUnlessCancelled) {
  testing::TestHost host;
  Attached a(host);
  a.service.ExportResult();
  ASSERT_EQ(host.application.windows.calls.size(), 1u);
  const auto& wizard = host.application.windows.calls[0];
  EXPECT_EQ(wizard.pageName, "ExportResultSelection");
  EXPECT_EQ(wizard.flag, 1);
  EXPECT_EQ(wizard.exitHandler, &a.service);
  const auto parameters = std::any_cast<std::shared_ptr<ExportParameters>>(wizard.parameter);

  auto window = std::make_shared<testing::FakeWindow>();
  window->pageName = "ExportResultSelection";
  window->parameter = wizard.parameter;
  a.service.IWindowExitHandler_OnExit(window, true);
  EXPECT_EQ(host.application.windows.calls.size(), 1u);
  a.service.IWindowExitHandler_OnExit(window, false);
  ASSERT_EQ(host.application.windows.calls.size(), 2u);
  EXPECT_EQ(host.application.windows.calls[1].pageName, "ExportResultsStatus");
  EXPECT_EQ(host.application.windows.calls[1].flag, -1);
  EXPECT_EQ(
      std::any_cast<std::shared_ptr<ExportParameters>>(host.application.windows.calls[1].parameter),
      parameters);
  window->pageName = "exportresultselection";
  a.service.IWindowExitHandler_OnExit(window, false);
  EXPECT_EQ(host.application.windows.calls.size(), 2u);

  a.service.LaunchLocusListEdit();
  EXPECT_EQ(host.application.windows.calls.back().pageName, "ShowLocusListEditPage");
}

}  // namespace
}  // namespace harvestor
