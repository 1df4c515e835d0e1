#include "workstation/store/ImportLines.h"

#include "workstation/store/ImportChecks.h"
#include "workstation/store/TsvTable.h"

namespace workstation {

ImportLines::ImportLines(const std::string& path) : path_(path), in_(path, std::ios::binary) {
  if (!in_) throw ImportError(path + ": cannot be read");
}

bool ImportLines::next() {
  if (!std::getline(in_, line_)) {
    // A folder opens but cannot be read: that is not an empty file.
    if (in_.bad()) throw ImportError(path_ + ": cannot be read");
    return false;
  }
  ++number_;
  if (!line_.empty() && line_.back() == '\r') line_.pop_back();
  if (number_ == 1 && line_.rfind("\xEF\xBB\xBF", 0) == 0) line_.erase(0, 3);
  return true;
}

void ImportLines::fail(const std::string& what) const { fail(number_, what); }

void ImportLines::fail(int line, const std::string& what) const {
  throw ImportError(path_ + ":" + std::to_string(line) + ": " + what);
}

void ImportLines::checkText(std::string_view text, const std::string& where) const {
  if (const TextFault fault = textFault(text); !fault.cause.empty()) {
    fail(where + ": holds " + fault.cause + " at byte " + std::to_string(fault.offset + 1));
  }
}

}  // namespace workstation
