#pragma once
// The page that runs a study export and shows how it went. It reads the
// format and file name back from the host's shared common dialog, builds the
// genotype table and calls the format's writer (or, for CSV, the host's
// fragment grid page), showing the log, three status lines and the progress.
// It runs on its second activation; OK is enabled when the run has ended.

#include <cstdint>
#include <memory>
#include <string>

#include "harvestor/service/Controls.h"
#include "harvestor/service/ExportLogBox.h"
#include "harvestor/service/HostFramework.h"
#include "harvestor/service/PageBase.h"

namespace harvestor {

class ExportStudyStatusPage final : public IPageAccess,
                                    public IHasControls,
                                    public IWindowManagerEvents {
 public:
  ExportStudyStatusPage();  // UserControl_Initialize
  ~ExportStudyStatusPage() override;

  PageBase& IPageAccess_Page() override;
  std::vector<Control*> Controls() override {
    return {&lblExportName, &lblExportFormat, &lblExportPath, &ProgressBar,
            &Frame1,        &txtExportErrors, &cmdOK,         &cmdHelp};
  }
  void cmdOK_Click();
  void cmdHelp_Click();

  Label lblExportName{"lblExportName", "Exporting:"};
  Label lblExportFormat{"lblExportFormat", "Format: "};
  Label lblExportPath{"lblExportPath", "To:"};
  ProgressBarControl ProgressBar{"ProgressBar"};
  Frame Frame1{"Frame1", "Status"};
  ExportLogBox txtExportErrors{"txtExportErrors"};
  CommandButton cmdOK{"cmdOK", "OK"};
  CommandButton cmdHelp{"cmdHelp", "Help"};

  std::int32_t ActivationCount() const { return m_lActivationCount; }

 private:
  void PageActivate(const std::shared_ptr<IPageAccess>& page) override {
    m_oWinMgr_PageActivate(page);
  }
  void m_oPageBase_Activate();
  void m_oWinMgr_PageActivate(const std::shared_ptr<IPageAccess>& oPageObj);
  void RunCsv(const std::shared_ptr<IStudy>& study, const std::string& fileName);
  void InitializeStatusDisplay(const std::string& studyName);
  void UpdateStatusDisplay();
  void FinalStatusDisplay();
  void UpdateProgressBar(double percent);
  void DisplayErrorLog();

  std::shared_ptr<PageBase> m_oPageBase;
  IWindowManager* m_oWinMgr = nullptr;
  std::int32_t m_lActivationCount = 0;
  std::shared_ptr<IPageAccess> m_oActivatedPage;
};

}  // namespace harvestor
