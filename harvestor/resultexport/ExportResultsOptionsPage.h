#pragma once
// The second page of the result export wizard: the output name, folder and
// format through its own Save As dialog, the elements each file carries for
// that format, and the two naming options. Saving the page writes the
// choices into the run's ExportParameters. A CRV name of "{Result Name}" is
// refused, and while one stands the wizard cannot be finished.

#include <memory>
#include <string>

#include "harvestor/service/Controls.h"
#include "harvestor/service/HostFramework.h"
#include "harvestor/service/PageBase.h"

namespace harvestor {

class ExportResultsOptionsPage final : public IPageAccess, public IHasControls {
 public:
  ExportResultsOptionsPage();  // UserControl_Initialize

  PageBase& IPageAccess_Page() override;
  std::vector<Control*> Controls() override {
    return {&Label1,          &lblSaveAsPath, &cmdBrowse,       &lblUserNote1,       &lblUserNote2,
            &Label2,          &Frame5,        &chkHeader,       &chkRawData,         &chkResultData,
            &chkResultOutput, &Frame4,        &chkRemoveSuffix, &chkResolveFilenames};
  }
  void cmdBrowse_Click();
  bool InvalidFileName() const { return m_bInvalidFileName; }

  Label Label1{"Label1", "Export results as:"};
  Label lblSaveAsPath{"lblSaveAsPath", ""};
  CommandButton cmdBrowse{"cmdBrowse", "Save &As..."};
  std::shared_ptr<ICommonDialog> dlgResultsSaveAs;
  Label lblUserNote1{
      "lblUserNote1",
      "Use the Save As button to change the export file name, format, or directory."};
  Label lblUserNote2{
      "lblUserNote2",
      "Specifying a file name of \"{Result Name}\" assigns the actual result name to "
      "the exported file."};
  Label Label2{"Label2", "Note: {Result Name} is not a valid file name for CRV export"};
  Frame Frame5{"Frame5", "Elements"};
  CheckBox chkHeader{"chkHeader", "&Header"};
  CheckBox chkRawData{"chkRawData", "&Raw Data"};
  CheckBox chkResultData{"chkResultData", "Result &Data"};
  CheckBox chkResultOutput{"chkResultOutput", "Result &Output"};
  Frame Frame4{"Frame4", "Options"};
  CheckBox chkRemoveSuffix{"chkRemoveSuffix", "Remove ZAL Tracking &Suffix"};
  CheckBox chkResolveFilenames{"chkResolveFilenames", "Resolve Filename &Conflicts"};

 private:
  void m_oPageBase_Initialize();
  void m_oPageBase_Activate();
  void m_oPageBase_Save();
  void InitializeDialog(const std::string& fileName);
  std::string ShowSaveAsDialog(const std::string& strFileName);
  void InitOptionControls();
  void SetElementControls(std::int32_t enumFormat);
  void CheckInvalidFileName();
  void UpdateExportParameters();

  std::shared_ptr<PageBase> m_oPageBase;
  bool m_bInvalidFileName = true;
};

}  // namespace harvestor
