#pragma once
// The desktop's user-interface services: message boxes are QMessageBoxes with
// the caller's text, caption, buttons and default button; yielding processes
// Qt events, so windows repaint and clicks (Cancel) are taken there; the
// hourglass pointer is Qt's busy cursor; F1 opens the help.

#include <functional>

#include "harvestor/service/HostFramework.h"

class QWidget;

namespace workstation::desktop {

class DesktopUi final : public harvestor::IUserInterface {
 public:
  void setOwner(QWidget* owner) { owner_ = owner; }
  // What F1 opens; by default a short help window.
  void setHelp(std::function<void()> help) { help_ = std::move(help); }

  std::int32_t MsgBox(const std::string& prompt, std::int32_t style,
                      const std::string& title) override;
  void SendKeys(const std::string& keys) override;
  void DoEvents() override;
  std::int32_t MousePointer() override { return pointer_; }
  void SetMousePointer(std::int32_t pointer) override;

 private:
  QWidget* owner_ = nullptr;
  std::function<void()> help_;
  std::int32_t pointer_ = harvestor::MousePointer::Default;
};

}  // namespace workstation::desktop
