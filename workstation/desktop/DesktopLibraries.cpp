#include "workstation/desktop/DesktopLibraries.h"

#include "workstation/desktop/DesktopDialog.h"
#include "workstation/desktop/ResultSelectionControl.h"

namespace workstation::desktop {

std::shared_ptr<harvestor::ICommonDialog> DesktopLibraries::CreateCommonDialog() {
  auto dialog = std::make_shared<DesktopDialog>();
  dialog->setOwner(owner_);
  return dialog;
}

std::shared_ptr<harvestor::ISelectionControl> DesktopLibraries::CreateSelectionControl() {
  return std::make_shared<ResultSelectionControl>();
}

}  // namespace workstation::desktop
