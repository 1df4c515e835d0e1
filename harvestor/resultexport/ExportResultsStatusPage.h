#pragma once
// The last page of the result export and the place where it happens. On its
// second activation it writes every selected result (one file each, or one
// CRV set for all), naming each output by the naming rules, asking before it
// overwrites, logging every step and showing the log, the status lines and a
// final count. Cancel, taken in at the yield before each result, stops the
// run before the next result.

#include <cstdint>
#include <memory>
#include <string>

#include "harvestor/resultexport/ExportParameters.h"
#include "harvestor/service/Controls.h"
#include "harvestor/service/ExportLogBox.h"
#include "harvestor/service/Int16.h"
#include "harvestor/service/PageBase.h"

namespace harvestor {

class ExportResultsStatusPage final : public IPageAccess, public IHasControls {
 public:
  ExportResultsStatusPage();  // UserControl_Initialize

  PageBase& IPageAccess_Page() override;
  std::vector<Control*> Controls() override {
    return {
        &Frame1,      &lblExportName,         &lblExportFormat, &lblExportPath, &lblExportingXofY,
        &ProgressBar, &txtExportResultStatus, &cmdCancel,       &cmdOK,         &cmdHelp};
  }

  std::string CorrectForbiddenFileNameCharacters(const std::string& resultName);
  bool IsExportDone();
  void cmdCancel_Click();
  void cmdOK_Click();
  void cmdHelp_Click();

  Frame Frame1{"Frame1", "Status"};
  Label lblExportName{"lblExportName", "Exporting:"};
  Label lblExportFormat{"lblExportFormat", "Format: "};
  Label lblExportPath{"lblExportPath", "To:"};
  Label lblExportingXofY{"lblExportingXofY", "Exporting:"};
  ProgressBarControl ProgressBar{"ProgressBar"};
  ExportLogBox txtExportResultStatus{"txtExportResultStatus"};
  CommandButton cmdCancel{"cmdCancel", "Cancel Export"};
  CommandButton cmdOK{"cmdOK", "OK"};
  CommandButton cmdHelp{"cmdHelp", "Help"};

 private:
  void m_oPageBase_Initialize();
  void m_oPageBase_Activate();
  void m_oPageBase_Validate(bool& bIsValid);
  void m_oPageBase_Terminate();
  void doExport();
  void UpdateStatusDisplay(Int16 i, Int16 n, const std::string& path,
                           const ExportParameters& parameters);
  void UpdateProgressDisplay(Int16 i, Int16 n);
  void ShowExportComplete(Int16 written, Int16 n);
  void DisplayExportLog();

  std::shared_ptr<PageBase> m_oPageBase;
  std::int32_t m_lActivationCount = 0;
  bool m_bCancel = false;
  bool m_bExportDone = false;
  bool m_bCRVExport = false;
  bool m_bTerminating = false;
};

}  // namespace harvestor
