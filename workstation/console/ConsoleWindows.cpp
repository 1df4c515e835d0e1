#include "workstation/console/ConsoleWindows.h"

#include <algorithm>
#include <ostream>

#include "harvestor/service/ExportLogBox.h"
#include "harvestor/service/HError.h"
#include "harvestor/service/Text.h"
#include "workstation/console/ConsoleUi.h"

namespace workstation::console {
void ConsoleScreen::Changed(const harvestor::Control& control) {
  if (const auto* box = dynamic_cast<const harvestor::TextBox*>(&control)) {
    if (showLog_) out_ << plainLines(box->Text()) << std::flush;
  }
  showCaption(control);
}

void ConsoleScreen::LinesAdded(const harvestor::Control& control, std::size_t first,
                               std::size_t count) {
  const auto* box = dynamic_cast<const harvestor::ExportLogBox*>(&control);
  if (!box || !showLog_) return;
  for (std::string_view line : box->Lines(first, count)) out_ << plainLines(line) << '\n';
  out_ << std::flush;
}

void ConsoleScreen::Repainted(const harvestor::Control& control) { showCaption(control); }

void ConsoleScreen::showCaption(const harvestor::Control& control) {
  const auto* label = dynamic_cast<const harvestor::Label*>(&control);
  if (!label || !label->Visible() || label->Caption().empty()) return;
  const auto [at, isNew] = captionOf_.try_emplace(label, captions_.size());
  if (isNew) captions_.emplace_back();
  Caption& caption = captions_[at->second];
  caption.last = label->Caption();
  if (caption.shown == caption.last || (!showLog_ && !caption.shown.empty())) return;
  caption.shown = caption.last;
  print(caption.shown);
}

void ConsoleScreen::flushCaptions() {
  for (Caption& caption : captions_) {
    if (caption.shown == caption.last) continue;
    caption.shown = caption.last;
    print(caption.shown);
  }
}

void ConsoleScreen::print(const std::string& caption) {
  const std::size_t at = aliasPath_.empty() ? std::string::npos : caption.find(aliasPath_);
  if (at == std::string::npos) {
    err_ << caption << "\n";
  } else {
    err_ << caption.substr(0, at) << aliasName_ << caption.substr(at + aliasPath_.size()) << "\n";
  }
}

void ConsoleScreen::Appended(const harvestor::Control&, std::string_view added) {
  out_ << plainLines(added) << std::flush;
}

void ConsoleWindowManager::registerPage(const std::string& name, PageFactory factory) {
  factories_[name] = std::move(factory);
}

void ConsoleWindowManager::Unadvise(harvestor::IWindowManagerEvents* sink) {
  sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

void ConsoleWindowManager::registerWizard(const std::string& name, std::vector<PageFactory> pages) {
  wizards_[name] = std::move(pages);
}

std::shared_ptr<harvestor::IPageAccess> ConsoleWindowManager::createPage(
    const PageFactory& factory, const std::shared_ptr<ConsoleWindow>& window,
    const std::any& parameter) {
  const std::shared_ptr<harvestor::IPageAccess> page = factory();
  window->addPage(page);
  if (auto* withControls = dynamic_cast<harvestor::IHasControls*>(page.get())) {
    for (harvestor::Control* control : withControls->Controls()) control->Observe(&screen_);
  }
  std::weak_ptr<harvestor::IPageAccess> weakPage = page;
  page->IPageAccess_Page().Attach(window, parameter, [weakPage] {
    if (auto p = weakPage.lock()) p->IPageAccess_Page().RaiseValidate();
  });
  page->IPageAccess_Page().RaiseInitialize();
  return page;
}

std::shared_ptr<harvestor::IWindow> ConsoleWindowManager::ShowPage(
    const std::string& pageName, const std::any& parameter,
    harvestor::IWindowExitHandler* exitHandler, std::int32_t) {
  std::vector<PageFactory> factories;
  if (const auto page = factories_.find(pageName); page != factories_.end()) {
    factories.push_back(page->second);
  } else if (const auto wizard = wizards_.find(pageName); wizard != wizards_.end()) {
    factories = wizard->second;
  } else {
    throw harvestor::HError(harvestor::ErrNo::InvalidProcedureCall, "ConsoleHost",
                            "No page is registered as '" + pageName + "'");
  }
  auto window = std::make_shared<ConsoleWindow>(pageName, parameter, exitHandler);
  for (const PageFactory& factory : factories) createPage(factory, window, parameter);
  const auto& first = window->pages().front();
  shown_[pageName] = {first, window};
  activate(first);  // as the window opens
  window->Show();
  activate(first);  // as it is shown
  return window;
}

void ConsoleWindowManager::activate(const std::shared_ptr<harvestor::IPageAccess>& page) {
  page->IPageAccess_Page().RaiseActivate();
  for (auto* sink : std::vector<harvestor::IWindowManagerEvents*>(sinks_)) sink->PageActivate(page);
}

std::shared_ptr<harvestor::IPageAccess> ConsoleWindowManager::lastPage(
    const std::string& name) const {
  const auto it = shown_.find(name);
  return it == shown_.end() ? nullptr : it->second.first;
}

std::shared_ptr<ConsoleWindow> ConsoleWindowManager::lastWindow(const std::string& name) const {
  const auto it = shown_.find(name);
  return it == shown_.end() ? nullptr : it->second.second;
}

ConsoleWindow::ConsoleWindow(std::string pageName, std::any parameter,
                             harvestor::IWindowExitHandler* exitHandler)
    : pageName_(std::move(pageName)), parameter_(std::move(parameter)), exitHandler_(exitHandler) {}

bool ConsoleWindow::next(ConsoleWindowManager& windows) {
  if (current_ + 1 >= pages_.size()) return false;
  if (!pages_[current_]->IPageAccess_Page().RaiseValidate()) return false;
  ++current_;
  windows.activate(pages_[current_]);
  return true;
}

bool ConsoleWindow::finish() {
  if (!open_ || !pages_[current_]->IPageAccess_Page().RaiseValidate() || !buttonEnabled(1)) {
    return false;
  }
  for (const auto& page : pages_) page->IPageAccess_Page().RaiseSave();
  Close();
  return true;
}

void ConsoleWindow::Close() { finish(false); }
void ConsoleWindow::cancel() { finish(true); }

void ConsoleWindow::finish(bool cancelled) {
  if (!open_) return;
  open_ = false;
  cancelled_ = cancelled;
  // Pages are released with the window, after the exit handler has run.
  const auto pages = pages_;
  for (const auto& page : pages) page->IPageAccess_Page().RaiseTerminate();
  if (exitHandler_) exitHandler_->OnExit(shared_from_this(), cancelled);
}

void ConsoleWindow::EnableButton(std::int32_t button, bool enabled) { buttons_[button] = enabled; }

bool ConsoleWindow::buttonEnabled(std::int32_t button) const {
  const auto it = buttons_.find(button);
  return it == buttons_.end() || it->second;
}

}  // namespace workstation::console
