#include "workstation/desktop/DesktopWindows.h"

#include <QDialog>
#include <algorithm>

#include "harvestor/service/HError.h"
#include "workstation/desktop/ControlBinding.h"
#include "workstation/desktop/DesktopWindow.h"

namespace workstation::desktop {

DesktopWindowManager::~DesktopWindowManager() = default;

void DesktopWindowManager::closeAll() {
  for (const auto& window : std::vector<std::shared_ptr<DesktopWindow>>(open_)) window->cancel();
}

void DesktopWindowManager::registerPage(const std::string& name, PageRegistration page) {
  pages_[name] = {std::move(page)};
}

void DesktopWindowManager::registerWizard(const std::string& name,
                                          std::vector<PageRegistration> pages) {
  pages_[name] = std::move(pages);
}

void DesktopWindowManager::Unadvise(harvestor::IWindowManagerEvents* sink) {
  sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

std::shared_ptr<harvestor::IWindow> DesktopWindowManager::ShowPage(
    const std::string& pageName, const std::any& parameter,
    harvestor::IWindowExitHandler* exitHandler, std::int32_t) {
  const auto registered = pages_.find(pageName);
  if (registered == pages_.end()) {
    throw harvestor::HError(harvestor::ErrNo::InvalidProcedureCall, "DesktopHost",
                            "No page is registered as '" + pageName + "'");
  }
  forgetClosed();
  const std::vector<PageRegistration>& pages = registered->second;
  const auto buttons = pages.size() > 1         ? DesktopWindow::Buttons::Wizard
                       : pages.front().okCancel ? DesktopWindow::Buttons::OkCancel
                                                : DesktopWindow::Buttons::None;
  auto window =
      std::make_shared<DesktopWindow>(*this, pageName, parameter, exitHandler, owner_, buttons);
  window->setTitle(pages.front().title.empty() ? pageName : pages.front().title);
  for (const PageRegistration& registration : pages) {
    const std::shared_ptr<harvestor::IPageAccess> page = registration.create();
    std::weak_ptr<harvestor::IPageAccess> weakPage = page;
    page->IPageAccess_Page().Attach(window, parameter, [weakPage] {
      if (auto p = weakPage.lock()) p->IPageAccess_Page().RaiseValidate();
    });
    auto binding = std::make_unique<ControlBinding>();
    QWidget* widget = nullptr;
    if (registration.widget) {
      widget = registration.widget(*page, *binding, window->dialog());
    } else if (auto* withControls = dynamic_cast<harvestor::IHasControls*>(page.get())) {
      widget = binding->build(withControls->Controls(), window->dialog());
    } else {
      widget = new QWidget(window->dialog());
    }
    window->addPage(page, widget, std::move(binding), registration.mayLeave);
    page->IPageAccess_Page().RaiseInitialize();
  }
  const auto& first = window->pages().front();
  shown_[pageName] = window;
  open_.push_back(window);
  const bool runToEnd = runToEnd_.count(pageName) > 0;
  // Modal before it is first shown, or Qt does not make it so.
  if (runToEnd) window->dialog()->setWindowModality(Qt::ApplicationModal);
  activate(first);  // as the window opens
  window->Show();
  activate(first);  // as it is shown
  if (runToEnd) window->runToEnd();
  return window;
}

void DesktopWindowManager::forgetClosed() {
  open_.erase(std::remove_if(open_.begin(), open_.end(),
                             [](const std::shared_ptr<DesktopWindow>& w) { return !w->isOpen(); }),
              open_.end());
}

void DesktopWindowManager::activate(const std::shared_ptr<harvestor::IPageAccess>& page) {
  page->IPageAccess_Page().RaiseActivate();
  for (auto* sink : std::vector<harvestor::IWindowManagerEvents*>(sinks_)) sink->PageActivate(page);
}

std::shared_ptr<harvestor::IPageAccess> DesktopWindowManager::lastPage(
    const std::string& name) const {
  const auto it = shown_.find(name);
  return it == shown_.end() || it->second->pages().empty() ? nullptr : it->second->pages().front();
}

std::shared_ptr<DesktopWindow> DesktopWindowManager::lastWindow(const std::string& name) const {
  const auto it = shown_.find(name);
  return it == shown_.end() ? nullptr : it->second;
}

}  // namespace workstation::desktop
