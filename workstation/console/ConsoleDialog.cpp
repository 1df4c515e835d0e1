#include "workstation/console/ConsoleDialog.h"

#include "harvestor/service/HError.h"

namespace workstation::console {

void ConsoleDialog::choose(std::string fileName, std::int16_t filterIndex) {
  choice_ = std::make_pair(std::move(fileName), filterIndex);
}

void ConsoleDialog::ShowSave() {
  offered_ = fileName_;
  ++shown_;
  if (!choice_) {
    if (cancelError_) throw harvestor::HError(32755, "CommonDialog", "Cancel was selected.");
    return;
  }
  fileName_ = choice_->first;
  filterIndex_ = choice_->second;
  choice_.reset();
}

}  // namespace workstation::console
