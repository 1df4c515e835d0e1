#include "harvestor/studypages/ExportStudyStatusPage.h"

#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"

namespace harvestor {
namespace {

const char* const kClass = "ExportStudyStatusPage";

// The format name and the log line before the run, by the dialog's FilterIndex.
struct StudyFormat {
  const char* name;
  const char* logLine;
};
const StudyFormat kFormats[] = {
    {"CSV", "Exporting as CSV format: "},
    {"Pedin", "Exporting as Pedin format: "},
    {"DMPopulation", "Exporting as DMPopulation format: "},
    {"Genotype Summary Report", "Exporting as Genotype Summary Report: "},
};

std::string Now() { return FormatGeneralDate(HostObjects::Clock().Now()); }

}  // namespace

ExportStudyStatusPage::ExportStudyStatusPage() {
  Handled(kClass, "UserControl_Initialize", [&] {
    m_oPageBase = std::make_shared<PageBase>();
    m_oPageBase->Activate = [this] { m_oPageBase_Activate(); };
    m_lActivationCount = 0;
    cmdOK.Enabled(false);
    cmdOK.OnClick = [this] { cmdOK_Click(); };
    cmdHelp.OnClick = [this] { cmdHelp_Click(); };
  });
}

ExportStudyStatusPage::~ExportStudyStatusPage() {
  if (m_oWinMgr) m_oWinMgr->Unadvise(this);
}

PageBase& ExportStudyStatusPage::IPageAccess_Page() { return PageAccess(kClass, m_oPageBase); }

void ExportStudyStatusPage::cmdOK_Click() {
  Handled(kClass, "cmdOK_Click", [&] { m_oPageBase->Window()->Close(); });
}

void ExportStudyStatusPage::cmdHelp_Click() { HostObjects::UserInterface().SendKeys("{F1}"); }

void ExportStudyStatusPage::m_oWinMgr_PageActivate(const std::shared_ptr<IPageAccess>& oPageObj) {
  m_oActivatedPage = oPageObj;
}

void ExportStudyStatusPage::m_oPageBase_Activate() {
  Handled(kClass, "m_oPageBase_Activate", [&] {
    const auto study = std::any_cast<std::shared_ptr<IStudy>>(m_oPageBase->Parameter());
    if (m_lActivationCount == 1) {
      HostObjects::UserInterface().DoEvents();
      InitializeStatusDisplay(study->StudyName());
      ErrorLog::InitalizeExportLog();
      ICommonDialog& dialog = HostObjects::Application().WindowManager().CommonDialog();
      const std::int16_t filterIndex = dialog.FilterIndex();
      const std::string fileName = dialog.FileName();
      if (filterIndex >= 2 && filterIndex <= 4) {
        GenoGroup group;
        if (!group.CheckLocusList()) {
          const std::int32_t answer = HostObjects::UserInterface().MsgBox(
              "Missing or empty LocusList.Txt. Please view the Locus List Editor. Continue?",
              MsgBoxStyle::YesNo | MsgBoxStyle::DefaultButton2, "");
          if (answer == MsgBoxResult::No) {
            ErrorLog::LogExportMsg("Processing aborted by user: " + Now());
            FinalStatusDisplay();
            DisplayErrorLog();
            return;  // the count stays, so the next activation asks again
          }
        }
        ErrorLog::LogExportMsg(kFormats[filterIndex - 1].logLine +
                               ResultExportRoutines::ShortenLongPaths(fileName));
        ErrorLog::LogExportMsg("Processing started: " + Now());
        DisplayErrorLog();
        group.BuildGenoGroup(*study);
        UpdateStatusDisplay();
        DisplayErrorLog();
        if (filterIndex == 2) group.ExportAsPedin(fileName);
        if (filterIndex == 3) group.ExportAsDMP(fileName);
        if (filterIndex == 4) group.ExportAsGSR(fileName);
        FinalStatusDisplay();
        ErrorLog::LogExportMsg("Export Complete.");
        DisplayErrorLog();
      } else if (filterIndex == 1) {
        RunCsv(study, fileName);
      }
    }
    ++m_lActivationCount;
  });
}

void ExportStudyStatusPage::RunCsv(const std::shared_ptr<IStudy>& study,
                                   const std::string& fileName) {
  ErrorLog::LogExportMsg(std::string(kFormats[0].logLine) +
                         ResultExportRoutines::ShortenLongPaths(fileName));
  ErrorLog::LogExportMsg("Processing started: " + Now());
  DisplayErrorLog();

  IWindowManager& windows = HostObjects::Application().WindowManager();
  m_oWinMgr = &windows;
  windows.Advise(this);
  std::shared_ptr<IWindow> grid;
  try {
    grid = windows.ShowPage("FragmentGrid", std::any(study), nullptr, -1);
  } catch (...) {
    windows.Unadvise(this);
    m_oWinMgr = nullptr;
    throw;
  }
  windows.Unadvise(this);
  m_oWinMgr = nullptr;
  grid->Show();
  HostObjects::UserInterface().DoEvents();

  const auto gridPage = std::dynamic_pointer_cast<IFragmentGridPage>(m_oActivatedPage);
  if (!gridPage) RaiseError(438, "Object doesn't support this property or method");
  const std::optional<bool> exported = gridPage->Export(fileName);
  if (exported.value_or(false)) {
    ErrorLog::LogExportMsg("Exported: " + fileName);
    ErrorLog::LogExportMsg("Export Complete.");
  } else {
    ErrorLog::LogExportMsg("Export failed. Check file open or disk full.");
  }
  grid->Close();
  DisplayErrorLog();
  FinalStatusDisplay();
}

void ExportStudyStatusPage::InitializeStatusDisplay(const std::string& studyName) {
  Handled(kClass, "InitializeStatusDisplay", [&] {
    ICommonDialog& dialog = HostObjects::Application().WindowManager().CommonDialog();
    lblExportName.Caption("Exporting: " + studyName);
    lblExportPath.Caption("To: " + ResultExportRoutines::ShortenLongPaths(dialog.FileName()));
    UpdateProgressBar(20);
    const std::int16_t index = dialog.FilterIndex();
    std::string format;
    if (index >= 1 && index <= 4) {
      format = kFormats[index - 1].name;
    } else {
      HostObjects::UserInterface().MsgBox("Unknown format. Harvestor.InitializeStatusDisplay.",
                                          MsgBoxStyle::OKOnly, "");
    }
    lblExportFormat.Caption("Format: " + format);
    lblExportName.Refresh();
    lblExportFormat.Refresh();
    lblExportPath.Refresh();
  });
}

void ExportStudyStatusPage::UpdateStatusDisplay() {
  Handled(kClass, "UpdateStatusDisplay", [&] { UpdateProgressBar(66); });
}

void ExportStudyStatusPage::FinalStatusDisplay() {
  Handled(kClass, "FinalStatusDisplay", [&] {
    UpdateProgressBar(100);
    cmdOK.Enabled(true);
  });
}

void ExportStudyStatusPage::UpdateProgressBar(double percent) {
  Handled(kClass, "UpdateProgressBar", [&] {
    ProgressBar.Max(100);
    ProgressBar.Value(static_cast<float>(percent));
    ProgressBar.Refresh();
  });
}

void ExportStudyStatusPage::DisplayErrorLog() {
  Handled(kClass, "DisplayErrorLog", [&] { txtExportErrors.Show(); });
}

}  // namespace harvestor
