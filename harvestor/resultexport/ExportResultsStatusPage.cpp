#include "harvestor/resultexport/ExportResultsStatusPage.h"

#include "harvestor/resultexport/FileName.h"
#include "harvestor/resultexport/OutputNaming.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/resultexport/ResultsFormatIDs.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/TextFile.h"

namespace harvestor {
namespace {

const char* const kClass = "ExportResultsStatusPage";
const char* const kOverwriteQuestion =
    "File name exists:\r\n\r\n[OK] to overwrite file.\r\n[Cancel] to skip file.\r\n";

}  // namespace

ExportResultsStatusPage::ExportResultsStatusPage() {
  Handled(kClass, "UserControl_Initialize", [&] {
    m_oPageBase = std::make_shared<PageBase>();
    m_oPageBase->Initialize = [this](const std::any&) { m_oPageBase_Initialize(); };
    m_oPageBase->Activate = [this] { m_oPageBase_Activate(); };
    m_oPageBase->Validate = [this](bool& valid) { m_oPageBase_Validate(valid); };
    m_oPageBase->Terminate = [this](std::any&) { m_oPageBase_Terminate(); };
    cmdOK.Enabled(false);
    cmdOK.Visible(false);
    cmdCancel.OnClick = [this] { cmdCancel_Click(); };
    cmdOK.OnClick = [this] { cmdOK_Click(); };
    cmdHelp.OnClick = [this] { cmdHelp_Click(); };
  });
}

PageBase& ExportResultsStatusPage::IPageAccess_Page() { return PageAccess(kClass, m_oPageBase); }

std::string ExportResultsStatusPage::CorrectForbiddenFileNameCharacters(const std::string& name) {
  return OutputNaming::CorrectForbiddenFileNameCharacters(name);
}

void ExportResultsStatusPage::m_oPageBase_Initialize() {
  Handled(kClass, "m_oPageBase_Initialize", [&] {
    m_bExportDone = false;
    m_bCRVExport = false;
  });
}

void ExportResultsStatusPage::m_oPageBase_Activate() {
  Handled(kClass, "m_oPageBase_Activate", [&] { doExport(); });
}

void ExportResultsStatusPage::m_oPageBase_Validate(bool& bIsValid) {
  Handled(kClass, "m_oPageBase_Validate", [&] { bIsValid = IsExportDone(); });
}

void ExportResultsStatusPage::m_oPageBase_Terminate() {
  m_bTerminating = true;
  m_bCancel = true;
}

bool ExportResultsStatusPage::IsExportDone() {
  return Handled(kClass, "IsExportDone", [&] { return m_bExportDone; });
}

void ExportResultsStatusPage::cmdCancel_Click() {
  Handled(kClass, "cmdCancel_Click", [&] {
    m_bCancel = true;
    cmdCancel.Enabled(false);
    cmdCancel.Refresh();
  });
}

void ExportResultsStatusPage::cmdOK_Click() {
  Handled(kClass, "cmdOK_Click", [&] { m_oPageBase->Window()->Close(); });
}

void ExportResultsStatusPage::cmdHelp_Click() { HostObjects::UserInterface().SendKeys("{F1}"); }

void ExportResultsStatusPage::doExport() {
  Handled(kClass, "doExport", [&] {
    if (m_lActivationCount == 1) {
      IUserInterface& ui = HostObjects::UserInterface();
      ui.DoEvents();
      const std::shared_ptr<ExportParameters> parameters = ParametersOf(*m_oPageBase);
      m_bCRVExport = EqualsNoCase(parameters->strFileExtension, "CRV");
      bool crvTargetToChoose = m_bCRVExport;
      std::string crvTarget;
      std::shared_ptr<ICRVTraceWriter> writer;
      const std::shared_ptr<IProgressBar> progress = HostObjects::Application().ProgressBar();
      const Int16 n = ToInt16(parameters->colSelectedResults->Count());
      Int16 i = 1;
      Int16 failures = 0;
      std::int32_t status = 0;

      ErrorLog::InitalizeExportLog();
      ErrorLog::LogExportMsg("Exporting results started: " +
                             FormatGeneralDate(HostObjects::Clock().Now()));
      DisplayExportLog();
      progress->Start(static_cast<double>(n), 0);

      for (const std::shared_ptr<IResult>& result : *parameters->colSelectedResults) {
        if (m_bCancel) break;
        const std::string name = TrimTrailingBlanks(result->ResultName());
        std::string path = OutputNaming::SubstituteForDefaultName(
            parameters->strFullPathAndFileName, CorrectForbiddenFileNameCharacters(name));
        if (parameters->bRemoveSuffix) path = OutputNaming::RemoveSuffix(path);
        if (parameters->bResolveFilenameConflicts) {
          if (!m_bCRVExport) path = OutputNaming::ResolveFileNames(path);
          if (crvTargetToChoose) path = OutputNaming::ResolveFileNamesCRV(path);
        }
        std::int32_t answer = MsgBoxResult::OK;
        if (crvTargetToChoose) {
          writer = HostObjects::Libraries().CreateCRVTraceWriter();
          writer->SetOutputFile(path);
          crvTargetToChoose = false;
          if (!parameters->bResolveFilenameConflicts) {
            answer = OutputNaming::ConfirmCRVOverwrite(path);
            if (answer == MsgBoxResult::Cancel) {
              m_bCancel = true;
              break;
            }
          }
          crvTarget = path;
        }
        if (!m_bCRVExport && FileExists(path)) {
          answer = ui.MsgBox(kOverwriteQuestion,
                             MsgBoxStyle::OKCancel | MsgBoxStyle::DefaultButton2, "Export Results");
        }
        if (answer == MsgBoxResult::OK) {
          if (m_bCRVExport) {
            UpdateStatusDisplay(i, n, crvTarget, *parameters);
            writer->AddResult(result->Sample(), status, result->ResultName());
            std::shared_ptr<ISample> none;
            result->ReleaseSample(none);
          } else {
            UpdateStatusDisplay(i, n, path, *parameters);
            status = ResultExportRoutines::ExportResultFile(*result, path, *parameters);
          }
          UpdateProgressDisplay(i, n);
          progress->Advance();
          const std::string as = m_bCRVExport ? "" : " as " + path;
          if (status == 1) {
            i = ToInt16(std::int64_t{i} + 1);
            ErrorLog::LogExportMsg("Exported: " + name + as);
          } else {
            failures = ToInt16(std::int64_t{failures} + 1);
            ErrorLog::LogExportMsg("Error exporting: " + name + as);
          }
        } else {
          ErrorLog::LogExportMsg("Skipped: " + name + " as " + path);
        }
        DisplayExportLog();
      }

      if (!m_bCancel && m_bCRVExport && writer) {
        cmdCancel.Enabled(false);
        writer->WriteFiles();
      }
      if (m_bCancel) {
        ErrorLog::LogExportMsg("Export cancelled.");
        if (m_bCRVExport) {
          writer.reset();
          lblExportingXofY.Visible(false);
        }
      } else if (failures != 0) {
        ErrorLog::LogExportMsg("Exporting failed for " + std::to_string(failures) + " result(s).");
      } else {
        ErrorLog::LogExportMsg("Export completed. No errors.");
      }
      if (!m_bTerminating) ShowExportComplete(ToInt16(std::int64_t{i} - 1), n);
      DisplayExportLog();
      writer.reset();
      m_bExportDone = true;
      if (!m_bCancel) m_oPageBase->Revalidate();
      progress->Finish();
    }
    ++m_lActivationCount;
  });
}

void ExportResultsStatusPage::UpdateStatusDisplay(Int16 i, Int16 n, const std::string& path,
                                                  const ExportParameters& parameters) {
  Handled(kClass, "UpdateStatusDisplay", [&] {
    FileName parts;
    parts.Initialize(path);
    if (m_bCRVExport) {
      const std::string x = parts.FileNameSansExtension();
      std::string names;
      for (int d = 1; d <= 4; ++d) names += x + "_D" + std::to_string(d) + ".CRV, ";
      lblExportName.Caption("Exporting: " + names + x + "_CRV_TRACE_ORDER.txt");
    } else {
      lblExportName.Caption("Exporting: " + parts.FileName_());
    }
    lblExportPath.Caption("To: " + ResultExportRoutines::ShortenLongPaths(parts.PathName()));
    lblExportFormat.Caption("Format: " +
                            ResultsFormatIDs::GetFormatNameByEnum(parameters.enumFileFormat));
    lblExportingXofY.Caption("Exporting: " + std::to_string(i) + " of " + std::to_string(n) +
                             " files");
    if (!m_bCRVExport) cmdCancel.Enabled(true);
    cmdOK.Enabled(false);
    cmdOK.Visible(false);
    HostObjects::UserInterface().DoEvents();
  });
}

void ExportResultsStatusPage::UpdateProgressDisplay(Int16 i, Int16 n) {
  Handled(kClass, "UpdateProgressDisplay", [&] {
    if (n == 0) RaiseError(ErrNo::DivisionByZero);
    ProgressBar.Value(static_cast<float>(ProgressBar.Max() * i / n));
  });
}

void ExportResultsStatusPage::ShowExportComplete(Int16 written, Int16 n) {
  lblExportName.Caption("Export complete.");
  lblExportingXofY.Caption("Exported: " + std::to_string(written) + " of " + std::to_string(n) +
                           " files");
  // An empty selection is a finished run with nothing written, not a division by zero.
  if (n == 0) {
    ProgressBar.Value(ProgressBar.Max());
  } else {
    UpdateProgressDisplay(n, n);
  }
  cmdCancel.Enabled(false);
  cmdCancel.Visible(false);
  cmdOK.Enabled(true);
  cmdOK.Visible(true);
}

void ExportResultsStatusPage::DisplayExportLog() { txtExportResultStatus.Show(); }

}  // namespace harvestor
