#include "harvestor/service/ExportLogBox.h"

#include <algorithm>

#include "harvestor/service/ErrorLog.h"

namespace harvestor {

void ExportLogBox::Show() {
  std::shared_ptr<const LineArena> current = ErrorLog::Shared();
  const std::size_t count = current ? current->Count() : 0;
  if (current != log_) {
    log_ = std::move(current);
    shown_ = 0;
    NotifyChanged();
  }
  if (count > shown_) {
    const std::size_t first = shown_;
    shown_ = count;
    if (Observer()) Observer()->LinesAdded(*this, first, count - first);
  }
  Refresh();
}

std::string_view ExportLogBox::Line(std::size_t index) const {
  return log_ && index < shown_ ? log_->Line(index) : std::string_view();
}

LineArena::Window ExportLogBox::Lines(std::size_t first, std::size_t count) const {
  if (!log_) return {};
  const std::size_t start = std::min(first, shown_);
  return log_->Lines(start, std::min(count, shown_ - start));
}

std::string ExportLogBox::Text(std::size_t first, std::size_t count) const {
  const LineArena::Window window = Lines(first, count);
  std::string text;
  for (std::string_view line : window) text.append(line).append("\r\n");
  return text;
}

}  // namespace harvestor
