#pragma once
// The console's user-interface services: message boxes printed on standard
// error and answered from the command's options, at the terminal when there
// is one, or else with the default button (saying so); yielding runs what
// was scheduled for that moment; keystrokes and the mouse pointer are noted.

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "harvestor/service/HostFramework.h"

namespace workstation::console {

// Text as a terminal shows it: CR LF line ends as LF.
std::string plainLines(std::string_view text);

class ConsoleUi final : public harvestor::IUserInterface {
 public:
  ConsoleUi(std::ostream& err, std::istream& in, bool interactive);

  // The answer to every question: true for Yes/OK, false for No/Cancel.
  void setAnswer(std::optional<bool> answer) { answer_ = answer; }
  // Runs at the next yield to the message loop.
  void schedule(std::function<void()> action) { scheduled_.push_back(std::move(action)); }
  int questionsAsked() const { return questions_; }
  int messagesShown() const { return messages_; }

  std::int32_t MsgBox(const std::string& prompt, std::int32_t style,
                      const std::string& title) override;
  void SendKeys(const std::string& keys) override;
  void DoEvents() override;
  std::int32_t MousePointer() override { return pointer_; }
  void SetMousePointer(std::int32_t pointer) override { pointer_ = pointer; }

 private:
  std::ostream& err_;
  std::istream& in_;
  bool interactive_;
  std::optional<bool> answer_;
  std::vector<std::function<void()>> scheduled_;
  int questions_ = 0;
  int messages_ = 0;
  std::int32_t pointer_ = harvestor::MousePointer::Default;
};

}  // namespace workstation::console
