#pragma once
// A page's real window: a dialog holding the page's widget, or, for a
// wizard, its pages one after another with Back, Next, Finish and Cancel.
// Next moves on only when the page is valid; Finish also needs button 1
// enabled (EnableButton), then saves every page and closes the window.

#include <QDialog>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/Controls.h"
#include "harvestor/service/HostFramework.h"
#include "harvestor/service/PageBase.h"

class QPushButton;
class QStackedWidget;
class QWidget;

namespace workstation::desktop {

class ControlBinding;
class DesktopWindowManager;

class DesktopWindow final : public harvestor::IWindow,
                            public std::enable_shared_from_this<DesktopWindow> {
 public:
  // The window's own buttons: none (the page has its own), a wizard's, or
  // OK (Finish: save and close) and Cancel.
  enum class Buttons { None, Wizard, OkCancel };
  DesktopWindow(DesktopWindowManager& windows, std::string pageName, std::any parameter,
                harvestor::IWindowExitHandler* exitHandler, QWidget* owner, Buttons buttons);
  ~DesktopWindow() override;
  DesktopWindow(const DesktopWindow&) = delete;
  DesktopWindow& operator=(const DesktopWindow&) = delete;

  std::string PageName() const override { return pageName_; }
  std::any Parameter() const override { return parameter_; }
  bool WasCancelled() const override { return cancelled_; }
  void Close() override;
  void EnableButton(std::int32_t button, bool enabled) override;
  void Show() override;

  using LeaveCheck = std::function<bool(harvestor::IPageAccess& page, QWidget* owner)>;
  void addPage(std::shared_ptr<harvestor::IPageAccess> page, QWidget* widget,
               std::unique_ptr<ControlBinding> binding, LeaveCheck mayLeave = {});
  void setTitle(const std::string& title);
  // Runs the window's own event loop until it closes.
  void runToEnd();

  // What the wizard's buttons do; each answers whether it did it.
  bool next();
  bool back();
  bool finish();
  void cancel();

  bool isOpen() const { return open_; }
  bool isWizard() const { return wizard_; }
  std::size_t currentPage() const { return current_; }
  const std::vector<std::shared_ptr<harvestor::IPageAccess>>& pages() const { return pages_; }
  QDialog* dialog() const { return dialog_.data(); }
  QPushButton* nextButton() const { return next_; }
  QPushButton* backButton() const { return back_; }
  QPushButton* finishButton() const { return finish_; }
  QPushButton* cancelButton() const { return cancel_; }
  // The widget bound to a page's control, or null.
  QWidget* widgetOf(const harvestor::Control& control) const;

 private:
  void close(bool cancelled);
  void updateButtons();
  bool mayLeave(std::size_t page);
  DesktopWindowManager& windows_;
  std::string pageName_;
  std::any parameter_;
  harvestor::IWindowExitHandler* exitHandler_;
  bool wizard_;
  bool cancelled_ = false;
  bool open_ = true;
  bool finishEnabled_ = true;
  std::vector<std::shared_ptr<harvestor::IPageAccess>> pages_;
  std::vector<std::unique_ptr<ControlBinding>> bindings_;
  std::vector<LeaveCheck> leaveChecks_;
  std::size_t current_ = 0;
  QPointer<QDialog> dialog_;
  QStackedWidget* stack_ = nullptr;
  QPushButton* back_ = nullptr;
  QPushButton* next_ = nullptr;
  QPushButton* finish_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace workstation::desktop
