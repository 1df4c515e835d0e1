#include "harvestor/service/PageBase.h"

#include <utility>

#include "harvestor/service/ErrorHandler.h"

namespace harvestor {

PageBase& PageAccess(const char* pageClass, const std::shared_ptr<PageBase>& pageBase) {
  return *Handled(pageClass, "IPageAccess_Page (Get)", [&] {
    if (!pageBase) RaiseError(ErrNo::ObjectNotSet);
    return pageBase.get();
  });
}

void PageBase::Revalidate() {
  if (revalidate_) revalidate_();
}

void PageBase::Attach(std::shared_ptr<IWindow> window, std::any parameter,
                      std::function<void()> revalidate) {
  window_ = window;
  parameter_ = std::move(parameter);
  revalidate_ = std::move(revalidate);
}

void PageBase::RaiseInitialize(const std::any& lastPanePositions) {
  if (Initialize) Initialize(lastPanePositions);
}

void PageBase::RaiseActivate() {
  if (Activate) Activate();
}

bool PageBase::RaiseValidate() {
  bool valid = true;
  if (Validate) Validate(valid);
  return valid;
}

void PageBase::RaiseSave() {
  if (Save) Save();
}

void PageBase::RaiseTerminate() {
  std::any positions;
  if (Terminate) Terminate(positions);
}

}  // namespace harvestor
