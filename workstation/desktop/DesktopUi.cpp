#include "workstation/desktop/DesktopUi.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace workstation::desktop {

std::int32_t DesktopUi::MsgBox(const std::string& prompt, std::int32_t style,
                               const std::string& title) {
  using namespace harvestor;
  QMessageBox box(owner_);
  box.setObjectName("MsgBox");
  // A message without a caption of its own carries the program's.
  box.setWindowTitle(title.empty() ? QStringLiteral("Harvestor") : QString::fromStdString(title));
  QString text = QString::fromStdString(prompt);
  text.remove(QLatin1Char('\r'));
  box.setText(text.trimmed());
  switch (style & 0x70) {
    case 16:
      box.setIcon(QMessageBox::Critical);
      break;
    case MsgBoxStyle::Question:
      box.setIcon(QMessageBox::Question);
      break;
    case MsgBoxStyle::Exclamation:
      box.setIcon(QMessageBox::Warning);
      break;
    case MsgBoxStyle::Information:
      box.setIcon(QMessageBox::Information);
      break;
    default:
      break;
  }
  const std::int32_t buttons = style & 7;
  const bool second = (style & MsgBoxStyle::DefaultButton2) != 0;
  QPushButton* first = nullptr;
  QPushButton* other = nullptr;
  if (buttons == MsgBoxStyle::YesNo) {
    first = box.addButton(QMessageBox::Yes);
    other = box.addButton(QMessageBox::No);
  } else if (buttons == MsgBoxStyle::OKCancel) {
    first = box.addButton(QMessageBox::Ok);
    other = box.addButton(QMessageBox::Cancel);
  } else {
    first = box.addButton(QMessageBox::Ok);
  }
  box.setDefaultButton(second && other ? other : first);
  if (other) box.setEscapeButton(other);
  // The question is asked with the normal pointer, whatever the caller set.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (busy) QApplication::restoreOverrideCursor();
  const bool yes = box.clickedButton() == first || (!other && box.clickedButton() == nullptr);
  if (buttons == MsgBoxStyle::YesNo) return yes ? MsgBoxResult::Yes : MsgBoxResult::No;
  if (buttons == MsgBoxStyle::OKCancel) return yes ? MsgBoxResult::OK : MsgBoxResult::Cancel;
  return MsgBoxResult::OK;
}

void DesktopUi::SendKeys(const std::string& keys) {
  if (keys == "{F1}" && help_) help_();
}

void DesktopUi::DoEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void DesktopUi::SetMousePointer(std::int32_t pointer) {
  if (pointer == pointer_) return;
  if (pointer_ == harvestor::MousePointer::Hourglass) QApplication::restoreOverrideCursor();
  pointer_ = pointer;
  if (pointer_ == harvestor::MousePointer::Hourglass)
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

}  // namespace workstation::desktop
