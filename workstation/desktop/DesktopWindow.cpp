#include "workstation/desktop/DesktopWindow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <functional>

#include "harvestor/service/HError.h"
#include "workstation/desktop/ControlBinding.h"
#include "workstation/desktop/DesktopWindows.h"

namespace workstation::desktop {
namespace {

// The user's Escape or close button is a cancel of the page's window.
class PageDialog final : public QDialog {
 public:
  PageDialog(QWidget* owner, std::function<void()> onCancel)
      : QDialog(owner), onCancel_(std::move(onCancel)) {}
  void reject() override { onCancel_(); }

 private:
  std::function<void()> onCancel_;
};

}  // namespace

DesktopWindow::DesktopWindow(DesktopWindowManager& windows, std::string pageName,
                             std::any parameter, harvestor::IWindowExitHandler* exitHandler,
                             QWidget* owner, Buttons buttons)
    : windows_(windows),
      pageName_(std::move(pageName)),
      parameter_(std::move(parameter)),
      exitHandler_(exitHandler),
      wizard_(buttons == Buttons::Wizard) {
  dialog_ = new PageDialog(owner, [this] { cancel(); });
  dialog_->setObjectName(QString::fromStdString(pageName_));
  dialog_->setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(dialog_);
  stack_ = new QStackedWidget(dialog_);
  layout->addWidget(stack_, 1);
  if (buttons == Buttons::None) return;
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  if (wizard_) {
    back_ = new QPushButton(QObject::tr("< &Back"), dialog_);
    next_ = new QPushButton(QObject::tr("&Next >"), dialog_);
    back_->setObjectName("wizardBack");
    next_->setObjectName("wizardNext");
    QObject::connect(back_, &QPushButton::clicked, dialog_, [this] { back(); });
    QObject::connect(next_, &QPushButton::clicked, dialog_, [this] { next(); });
  }
  finish_ = new QPushButton(wizard_ ? QObject::tr("&Finish") : QObject::tr("OK"), dialog_);
  cancel_ = new QPushButton(QObject::tr("Cancel"), dialog_);
  finish_->setObjectName("wizardFinish");
  cancel_->setObjectName("wizardCancel");
  for (QPushButton* button : {back_, next_, finish_, cancel_}) {
    if (!button) continue;
    button->setAutoDefault(false);
    row->addWidget(button);
  }
  layout->addLayout(row);
  QObject::connect(finish_, &QPushButton::clicked, dialog_, [this] { finish(); });
  QObject::connect(cancel_, &QPushButton::clicked, dialog_, [this] { cancel(); });
}

DesktopWindow::~DesktopWindow() {
  for (auto& binding : bindings_) binding->release();
  delete dialog_.data();
}

void DesktopWindow::addPage(std::shared_ptr<harvestor::IPageAccess> page, QWidget* widget,
                            std::unique_ptr<ControlBinding> binding, LeaveCheck mayLeave) {
  pages_.push_back(std::move(page));
  bindings_.push_back(std::move(binding));
  leaveChecks_.push_back(std::move(mayLeave));
  stack_->addWidget(widget);
  updateButtons();
}

void DesktopWindow::setTitle(const std::string& title) {
  dialog_->setWindowTitle(QString::fromStdString(title));
}

QWidget* DesktopWindow::widgetOf(const harvestor::Control& control) const {
  for (const auto& binding : bindings_) {
    if (QWidget* shown = binding->widget(control)) return shown;
  }
  return nullptr;
}

void DesktopWindow::Show() {
  if (!open_ || !dialog_) return;
  dialog_->show();
  dialog_->raise();
}

void DesktopWindow::runToEnd() {
  if (open_ && dialog_) dialog_->exec();
}

void DesktopWindow::updateButtons() {
  if (!finish_) return;
  finish_->setEnabled(finishEnabled_);
  if (!wizard_) {
    finish_->setDefault(true);
    return;
  }
  back_->setEnabled(current_ > 0);
  next_->setEnabled(current_ + 1 < pages_.size());
  finish_->setEnabled(finishEnabled_);
  next_->setDefault(next_->isEnabled());
  finish_->setDefault(!next_->isEnabled());
}

bool DesktopWindow::mayLeave(std::size_t page) {
  return !leaveChecks_[page] || leaveChecks_[page](*pages_[page], dialog_);
}

bool DesktopWindow::next() {
  if (!open_ || current_ + 1 >= pages_.size()) return false;
  if (!mayLeave(current_) || !pages_[current_]->IPageAccess_Page().RaiseValidate()) return false;
  ++current_;
  stack_->setCurrentIndex(static_cast<int>(current_));
  windows_.activate(pages_[current_]);
  updateButtons();
  return true;
}

bool DesktopWindow::back() {
  if (!open_ || current_ == 0) return false;
  --current_;
  stack_->setCurrentIndex(static_cast<int>(current_));
  windows_.activate(pages_[current_]);
  updateButtons();
  return true;
}

bool DesktopWindow::finish() {
  if (!open_ || !finishEnabled_) return false;
  // Every page is checked: Finish may be pressed before a page was left by Next.
  for (std::size_t page = 0; page < pages_.size(); ++page) {
    if (!mayLeave(page)) return false;
  }
  if (!pages_[current_]->IPageAccess_Page().RaiseValidate()) return false;
  try {
    for (const auto& page : pages_) page->IPageAccess_Page().RaiseSave();
  } catch (const harvestor::HError&) {
    return false;  // reported by the page; the wizard stays open
  }
  Close();
  return true;
}

void DesktopWindow::EnableButton(std::int32_t button, bool enabled) {
  if (button == 1) finishEnabled_ = enabled;
  updateButtons();
}

void DesktopWindow::Close() { close(false); }
void DesktopWindow::cancel() { close(true); }

void DesktopWindow::close(bool cancelled) {
  if (!open_) return;
  open_ = false;
  cancelled_ = cancelled;
  if (dialog_) dialog_->done(cancelled ? QDialog::Rejected : QDialog::Accepted);
  // Pages are released with the window, after the exit handler has run.
  const auto self = shared_from_this();
  const auto pages = pages_;
  for (const auto& page : pages) page->IPageAccess_Page().RaiseTerminate();
  if (exitHandler_) exitHandler_->OnExit(self, cancelled);
}

}  // namespace workstation::desktop
