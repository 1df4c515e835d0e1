#include "harvestor/service/Service.h"

#include <filesystem>

#include "harvestor/loh/LOH.h"
#include "harvestor/resultexport/ExportParameters.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/HostObjects.h"

namespace harvestor {
namespace {
const char* const kClass = "Service";
}

const char* const Service::kStudyFilters[4] = {
    "CSV (Comma delimited)(*.csv)|*.csv|",
    "Linkage (Pedin)(*.pre)|*.pre|",
    "Discovery Manager (DMPopulation) (*.txt)|*.txt|",
    "Genotype Summary Report (Tab delimited) (*.gsr)|*.gsr|",
};

Service::Service() {
  Handled(kClass, "Class_Initialize", [&] {
    m_oServiceBase = std::make_shared<ServiceBase>();
    m_oServiceBase->Initialize = [this] { m_oServiceBase_Initialize(); };
  });
}

Service::~Service() {
  if (m_oServiceBase) m_oServiceBase->Initialize = nullptr;
  if (m_oStudyService) m_oStudyService->Unadvise(this);
}

std::shared_ptr<ServiceBase> Service::IServiceAccess_Service() {
  return Handled(kClass, "IServiceAccess_Service (Get)", [&] { return m_oServiceBase; });
}

void Service::SetCommandsEnabled(bool enabled) {
  const auto commands = m_oServiceBase->Commands();
  commands->Item("LOH")->Enabled = enabled;
  commands->Item("ExportStudy")->Enabled = enabled;
}

void Service::m_oServiceBase_Initialize() {
  Handled(kClass, "m_oServiceBase_Initialize", [&] {
    if (m_oStudyService) m_oStudyService->Unadvise(this);
    m_oStudyService = &HostObjects::StudyService();
    m_oStudyService->Advise(this);
    SetCommandsEnabled(false);
  });
}

void Service::m_oStudyService_StudyOpened(const std::shared_ptr<IStudy>&) {
  Handled(kClass, "m_oStudyService_StudyOpened", [&] {
    if (m_oServiceBase) SetCommandsEnabled(true);
  });
}

void Service::m_oStudyService_StudyClosed(const std::shared_ptr<IStudy>&) {
  Handled(kClass, "m_oStudyService_StudyClosed", [&] {
    if (m_oServiceBase) SetCommandsEnabled(false);
  });
}

void Service::ExportResult() {
  Handled(kClass, "ExportResult", [&] {
    auto parameters = std::make_shared<ExportParameters>();
    HostObjects::Application().WindowManager().ShowPage("ExportResultSelection",
                                                        std::any(parameters), this, 1);
  });
}

void Service::IWindowExitHandler_OnExit(const std::shared_ptr<IWindow>& oWindow,
                                        bool bWasCancelled) {
  Handled(kClass, "IWindowExitHandler_OnExit", [&] {
    if (oWindow->PageName() == "ExportResultSelection" && !bWasCancelled) {
      HostObjects::Application().WindowManager().ShowPage("ExportResultsStatus",
                                                          oWindow->Parameter(), nullptr, -1);
    }
  });
}

void Service::ExportStudy() {
  Handled(kClass, "ExportStudy", [&] {
    std::shared_ptr<IStudy> study;
    IStudyService& studies = HostObjects::StudyService();
    IWindowManager& windows = HostObjects::Application().WindowManager();
    if (studies.IsStudyOpen()) {
      study = studies.CurrentStudy();
    } else {
      auto chosen = NewCollection<std::shared_ptr<IStudy>>();
      const auto window = windows.ShowPage("OpenStudy", std::any(chosen), nullptr, 1);
      if (!window->WasCancelled()) study = chosen->Item("Study");
    }
    if (!study) return;

    std::error_code ec;
    const auto directory = std::filesystem::current_path(ec);
    InitializeDialog(ResultExportRoutines::ReplaceIllegalFileNameCharacters(study->StudyName()));
    const std::string chosenPath = ShowSaveDialog();
    if (!ec) std::filesystem::current_path(directory, ec);
    if (chosenPath.empty()) return;
    const std::int32_t flag = windows.CommonDialog().FilterIndex() == 1 ? 0 : 1;
    windows.ShowPage("ExportStudyStatus", std::any(study), nullptr, flag);
  });
}

void Service::InitializeDialog(const std::string& name) {
  Handled(kClass, "InitializeDialog", [&] {
    ICommonDialog& dialog = HostObjects::Application().WindowManager().CommonDialog();
    dialog.SetDialogTitle("Export Fragments/Genotypes As");
    dialog.SetFileName(
        ResultExportRoutines::JoinPath(ResultExportRoutines::GetLastExportFolder(), name));
    dialog.SetFilterIndex(1);
    dialog.SetFlags(0x200806);
    std::string filter;
    for (const char* f : kStudyFilters) filter += f;
    dialog.SetFilter(filter);
  });
}

std::string Service::ShowSaveDialog() {
  try {
    ICommonDialog& dialog = HostObjects::Application().WindowManager().CommonDialog();
    dialog.SetCancelError(true);
    dialog.ShowSave();
    const std::string chosen = dialog.FileName();
    ResultExportRoutines::SetLastExportFolder(chosen);
    return chosen;
  } catch (...) {
    return "";
  }
}

void Service::LaunchLOH() { LOH::LaunchLOHAnalysis(HostObjects::StudyService().CurrentStudy()); }

void Service::LaunchLocusListEdit() {
  HostObjects::Application().WindowManager().ShowPage("ShowLocusListEditPage", std::any(), nullptr,
                                                      -1);
}

}  // namespace harvestor
