#include "harvestor/resultexport/ExportResultsOptionsPage.h"

#include <filesystem>

#include "harvestor/resultexport/ExportParameters.h"
#include "harvestor/resultexport/FileName.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/resultexport/ResultsFormatIDs.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/HostObjects.h"

namespace harvestor {
namespace {

const char* const kClass = "ExportResultsOptionsPage";

bool IsCrvPlaceholder(const std::string& extension, const std::string& name) {
  return EqualsNoCase(extension, "CRV") && LowerCase(name).find("result name") != std::string::npos;
}

void SetCheck(CheckBox& box, bool enabled, std::int16_t value) {
  box.Enabled(enabled);
  box.Value(value);
}

}  // namespace

ExportResultsOptionsPage::ExportResultsOptionsPage() {
  Handled(kClass, "UserControl_Initialize", [&] {
    m_oPageBase = std::make_shared<PageBase>();
    m_oPageBase->Initialize = [this](const std::any&) { m_oPageBase_Initialize(); };
    m_oPageBase->Activate = [this] { m_oPageBase_Activate(); };
    m_oPageBase->Save = [this] { m_oPageBase_Save(); };
    dlgResultsSaveAs = HostObjects::Libraries().CreateCommonDialog();
    cmdBrowse.OnClick = [this] { cmdBrowse_Click(); };
    m_bInvalidFileName = true;
  });
}

PageBase& ExportResultsOptionsPage::IPageAccess_Page() { return PageAccess(kClass, m_oPageBase); }

void ExportResultsOptionsPage::m_oPageBase_Initialize() {
  Handled(kClass, "m_oPageBase_Initialize", [&] {
    const auto parameters = ParametersOf(*m_oPageBase);
    const std::string folder = ResultExportRoutines::GetLastExportFolder();
    SetElementControls(TAB_DELIMITED);
    InitOptionControls();
    parameters->strFullPathAndFileName =
        ResultExportRoutines::JoinPath(folder, "{Result Name}.txt");
    lblSaveAsPath.Caption(
        ResultExportRoutines::ShortenLongPaths(parameters->strFullPathAndFileName));
    InitializeDialog(parameters->strFullPathAndFileName);
    CheckInvalidFileName();
  });
}

void ExportResultsOptionsPage::m_oPageBase_Activate() {
  m_oPageBase->Window()->EnableButton(1, !m_bInvalidFileName);
}

void ExportResultsOptionsPage::m_oPageBase_Save() {
  Handled(kClass, "m_oPageBase_Save", [&] { UpdateExportParameters(); });
}

void ExportResultsOptionsPage::InitializeDialog(const std::string& fileName) {
  Handled(kClass, "InitializeDialog", [&] {
    dlgResultsSaveAs->SetDialogTitle("Export Results As");
    dlgResultsSaveAs->SetFileName(fileName);
    dlgResultsSaveAs->SetFilterIndex(1);
    dlgResultsSaveAs->SetFlags(0x200804);
    // Appended to the dialog's filter, never put in its place; a fresh dialog has none.
    std::string filter = dlgResultsSaveAs->Filter();
    for (Int16 index = 1; index <= 3; ++index)
      filter += ResultsFormatIDs::GetDialogFilterByIndex(index);
    dlgResultsSaveAs->SetFilter(filter);
  });
}

void ExportResultsOptionsPage::cmdBrowse_Click() {
  Handled(kClass, "cmdBrowse_Click", [&] {
    FileName parts;
    const auto parameters = ParametersOf(*m_oPageBase);
    lblSaveAsPath.Caption(
        ResultExportRoutines::ShortenLongPaths(parameters->strFullPathAndFileName));
    parts.Initialize(parameters->strFullPathAndFileName);
    const Int16 previousIndex = dlgResultsSaveAs->FilterIndex();
    std::error_code ec;
    const auto directory = std::filesystem::current_path(ec);
    const std::string chosen = ShowSaveAsDialog(parts.PathAndFileNameSansExtension());
    if (!ec) std::filesystem::current_path(directory, ec);
    if (!chosen.empty()) {
      parts.Initialize(chosen);
      lblSaveAsPath.Caption(ResultExportRoutines::ShortenLongPaths(chosen));
      const Int16 index = dlgResultsSaveAs->FilterIndex();
      if (index != previousIndex) SetElementControls(ResultsFormatIDs::GetFormatEnumByIndex(index));
      parameters->strFullPathAndFileName = parts.PathAndFileNameSansExtension() + "." +
                                           ResultsFormatIDs::GetFormatExtensionByIndex(index);
    }
    CheckInvalidFileName();
  });
}

std::string ExportResultsOptionsPage::ShowSaveAsDialog(const std::string& strFileName) {
  try {
    dlgResultsSaveAs->SetCancelError(true);
    dlgResultsSaveAs->SetFileName(strFileName);
    while (true) {
      dlgResultsSaveAs->ShowSave();
      const std::string extension =
          ResultsFormatIDs::GetFormatExtensionByIndex(dlgResultsSaveAs->FilterIndex());
      const std::string title = FileName::GetFileName(dlgResultsSaveAs->FileName());
      if (!IsCrvPlaceholder(extension, title)) break;
      HostObjects::UserInterface().MsgBox(
          "{Result Name} is not a valid file name for CRV export.\r\nPlease provide a specific "
          "file "
          "name for exporting CRV format.\r\n\r\n",
          MsgBoxStyle::OKOnly, "Export Results");
    }
    ResultExportRoutines::SetLastExportFolder(dlgResultsSaveAs->FileName());
    return dlgResultsSaveAs->FileName();
  } catch (...) {
    return "";
  }
}

void ExportResultsOptionsPage::InitOptionControls() {
  Handled(kClass, "InitOptionControls", [&] {
    SetCheck(chkRemoveSuffix, true, 1);
    SetCheck(chkResolveFilenames, true, 1);
  });
}

void ExportResultsOptionsPage::SetElementControls(std::int32_t enumFormat) {
  Handled(kClass, "SetElementControls", [&] {
    switch (enumFormat) {
      case TAB_DELIMITED:
        SetCheck(chkHeader, true, 0);
        SetCheck(chkRawData, false, 0);
        SetCheck(chkResultData, true, 0);
        SetCheck(chkResultOutput, false, 1);
        break;
      case ZAL_BASE:
        for (CheckBox* box : {&chkHeader, &chkRawData, &chkResultData, &chkResultOutput}) {
          SetCheck(*box, false, 1);
        }
        break;
      case CRV:
        SetCheck(chkHeader, false, 0);
        SetCheck(chkRawData, false, 0);
        SetCheck(chkResultData, false, 1);
        SetCheck(chkResultOutput, false, 0);
        break;
      default:
        HostObjects::UserInterface().MsgBox("Unknown format. Harvestor.SetElementControls",
                                            MsgBoxStyle::OKOnly, "");
    }
  });
}

void ExportResultsOptionsPage::CheckInvalidFileName() {
  Handled(kClass, "CheckInvalidFileName", [&] {
    m_bInvalidFileName = false;
    // The shown path may be shortened so far that no folder is left in it; the
    // name and extension are read without cutting it into parts by count.
    const std::string shown = lblSaveAsPath.Caption();
    if (IsCrvPlaceholder(FileName::GetExtensionName(shown), FileName::GetFileName(shown))) {
      m_bInvalidFileName = true;
      if (const auto window = m_oPageBase->Window()) window->EnableButton(1, false);
    }
    if (!m_bInvalidFileName) {
      if (const auto window = m_oPageBase->Window()) window->EnableButton(1, true);
    }
  });
}

void ExportResultsOptionsPage::UpdateExportParameters() {
  Handled(kClass, "UpdateExportParameters", [&] {
    const auto p = ParametersOf(*m_oPageBase);
    p->bSendHeader = chkHeader.Value() != 0;
    p->bSendRawData = chkRawData.Value() != 0;
    p->bSendResultData = chkResultData.Value() != 0;
    p->bSendResultOutput = chkResultOutput.Value() != 0;
    p->bRemoveSuffix = chkRemoveSuffix.Value() != 0;
    p->bResolveFilenameConflicts = chkResolveFilenames.Value() != 0;
    FileName parts;
    parts.Initialize(p->strFullPathAndFileName);
    p->strFileName = parts.FileName_();
    p->strFilePath = parts.PathName();
    p->enumFileFormat = ResultsFormatIDs::GetFormatEnumByIndex(dlgResultsSaveAs->FilterIndex());
    p->strFileExtension =
        ResultsFormatIDs::GetFormatExtensionByIndex(dlgResultsSaveAs->FilterIndex());
  });
}

}  // namespace harvestor
