#pragma once
// The desktop's window manager: it creates the page registered under a name,
// as the console's does, and shows it in a real window. Each page gets a
// widget from its registration's maker (by default its controls, bound by a
// ControlBinding); a wizard is one window with Back, Next, Finish and Cancel.
// Initialize is raised, then Activate as the window opens and again as it is
// shown, telling PageActivate listeners each time. Closing a window raises
// Terminate and calls its exit handler; the user's close is a cancel.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/HostFramework.h"
#include "harvestor/service/PageBase.h"
#include "workstation/desktop/DesktopDialog.h"

class QWidget;

namespace workstation::desktop {

class DesktopWindow;
class ControlBinding;

struct PageRegistration {
  std::function<std::shared_ptr<harvestor::IPageAccess>()> create;
  // The page's widget; null means its controls, bound.
  std::function<QWidget*(harvestor::IPageAccess& page, ControlBinding& binding, QWidget* parent)>
      widget;
  std::string title;
  // The window adds OK (save and close) and Cancel, for a page without buttons of its own.
  bool okCancel = false;
  // The host's own check before Next or Finish leaves the page, for what the
  // page cannot check itself; false keeps the wizard where it is (the check
  // has told the user why).
  std::function<bool(harvestor::IPageAccess& page, QWidget* owner)> mayLeave = nullptr;
};

class DesktopWindowManager final : public harvestor::IWindowManager {
 public:
  DesktopWindowManager() = default;
  ~DesktopWindowManager() override;
  DesktopWindowManager(const DesktopWindowManager&) = delete;
  DesktopWindowManager& operator=(const DesktopWindowManager&) = delete;

  void registerPage(const std::string& name, PageRegistration page);
  // A wizard: one window showing its pages one after another.
  void registerWizard(const std::string& name, std::vector<PageRegistration> pages);
  // Pages whose window is run to its end before ShowPage returns, because
  // the caller reads the answer at once (the host's open-study page).
  void setRunsToEnd(const std::string& name) { runToEnd_[name] = true; }
  // The window that new windows belong to (the main window), or null.
  void setOwner(QWidget* owner) { owner_ = owner; }
  QWidget* owner() const { return owner_; }

  std::shared_ptr<harvestor::IWindow> ShowPage(const std::string& pageName,
                                               const std::any& parameter,
                                               harvestor::IWindowExitHandler* exitHandler,
                                               std::int32_t flag) override;
  harvestor::ICommonDialog& CommonDialog() override { return dialog_; }
  void Advise(harvestor::IWindowManagerEvents* sink) override { sinks_.push_back(sink); }
  void Unadvise(harvestor::IWindowManagerEvents* sink) override;

  DesktopDialog& dialog() { return dialog_; }
  // The page and window shown last under a name (they may be closed by now), or null.
  std::shared_ptr<harvestor::IPageAccess> lastPage(const std::string& name) const;
  std::shared_ptr<DesktopWindow> lastWindow(const std::string& name) const;
  // Raises Activate on a page, telling the listeners.
  void activate(const std::shared_ptr<harvestor::IPageAccess>& page);
  // Closes every open window as a user leaving the program would.
  void closeAll();
  // Windows closed by now are let go.
  void forgetClosed();

 private:
  DesktopDialog dialog_;
  std::map<std::string, std::vector<PageRegistration>> pages_;
  std::map<std::string, bool> runToEnd_;
  std::vector<harvestor::IWindowManagerEvents*> sinks_;
  std::map<std::string, std::shared_ptr<DesktopWindow>> shown_;
  std::vector<std::shared_ptr<DesktopWindow>> open_;
  QWidget* owner_ = nullptr;
};

}  // namespace workstation::desktop
