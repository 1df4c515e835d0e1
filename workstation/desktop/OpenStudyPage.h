#pragma once
// The host's open-study page ("OpenStudy"): the studies of the open database
// in a list; OK opens the chosen one and leaves it in the page's parameter,
// a collection of studies, under the key "Study". Cancel leaves nothing.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/PageBase.h"

class QListWidget;
class QWidget;

namespace workstation::desktop {

class OpenStudyPage final : public harvestor::IPageAccess {
 public:
  using Opener = std::function<std::shared_ptr<harvestor::IStudy>(const std::string& name)>;
  OpenStudyPage(std::vector<std::string> studies, Opener open)
      : studies_(std::move(studies)), open_(std::move(open)) {}
  harvestor::PageBase& IPageAccess_Page() override { return pageBase_; }

  QWidget* widget(QWidget* parent);
  // Opens the study in the list's row, as OK does; false when none is chosen.
  bool choose(int row);

 private:
  harvestor::PageBase pageBase_;
  std::vector<std::string> studies_;
  Opener open_;
  QListWidget* list_ = nullptr;
};

}  // namespace workstation::desktop
