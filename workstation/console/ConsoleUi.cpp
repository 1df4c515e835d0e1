#include "workstation/console/ConsoleUi.h"

#include <istream>
#include <ostream>

#include "harvestor/service/Text.h"

namespace workstation::console {
std::string plainLines(std::string_view text) { return harvestor::ReplaceAll(text, "\r\n", "\n"); }

ConsoleUi::ConsoleUi(std::ostream& err, std::istream& in, bool interactive)
    : err_(err), in_(in), interactive_(interactive) {}

std::int32_t ConsoleUi::MsgBox(const std::string& prompt, std::int32_t style,
                               const std::string& title) {
  using namespace harvestor;
  const std::int32_t buttons = style & 7;
  ++messages_;
  err_ << (title.empty() ? "" : title + ": ") << plainLines(prompt) << "\n";
  if (buttons != MsgBoxStyle::YesNo && buttons != MsgBoxStyle::OKCancel) return MsgBoxResult::OK;

  ++questions_;
  const bool yesNo = buttons == MsgBoxStyle::YesNo;
  const std::int32_t yes = yesNo ? MsgBoxResult::Yes : MsgBoxResult::OK;
  const std::int32_t no = yesNo ? MsgBoxResult::No : MsgBoxResult::Cancel;
  const char* yesWord = yesNo ? "Yes" : "OK";
  const char* noWord = yesNo ? "No" : "Cancel";
  const bool defaultIsNo = (style & MsgBoxStyle::DefaultButton2) != 0;
  if (answer_) {
    err_ << "  -> " << (*answer_ ? yesWord : noWord) << " (as the options say)\n";
    return *answer_ ? yes : no;
  }
  if (interactive_) {
    while (true) {
      err_ << "  " << yesWord << " or " << noWord << "? [" << (defaultIsNo ? noWord : yesWord)
           << "] " << std::flush;
      std::string reply;
      if (!std::getline(in_, reply)) break;
      reply = harvestor::LowerCase(reply);
      if (reply.empty()) return defaultIsNo ? no : yes;
      if (reply == "y" || reply == "yes" || reply == "ok" || reply == "o") return yes;
      if (reply == "n" || reply == "no" || reply == "c" || reply == "cancel") return no;
    }
  }
  err_ << "  -> " << (defaultIsNo ? noWord : yesWord)
       << " (the default: no terminal to ask and no option given)\n";
  return defaultIsNo ? no : yes;
}

void ConsoleUi::SendKeys(const std::string& keys) {
  if (keys == "{F1}") err_ << "Help: run 'harvestor --help'.\n";
}

void ConsoleUi::DoEvents() {
  auto due = std::move(scheduled_);
  scheduled_.clear();
  for (auto& action : due) action();
}

}  // namespace workstation::console
