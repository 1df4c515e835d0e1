#pragma once
// The first page of the result export wizard: the host's selection control
// keeps the chosen results in the run's colSelectedResults; the page lets the
// wizard go on only while at least one result is chosen.

#include <memory>

#include "harvestor/service/HostLibraries.h"
#include "harvestor/service/PageBase.h"

namespace harvestor {

class ExportResultsSelectionPage final : public IPageAccess {
 public:
  ExportResultsSelectionPage();  // UserControl_Initialize

  PageBase& IPageAccess_Page() override;
  void ctlSelectionWizard_SelectionChanged();

  std::shared_ptr<ISelectionControl> ctlSelectionWizard;

 private:
  void m_oPageBase_Initialize();
  void m_oPageBase_Activate();
  void m_oPageBase_Validate(bool& bIsValid);

  std::shared_ptr<PageBase> m_oPageBase;
  bool m_bSelectionValid = false;
};

}  // namespace harvestor
