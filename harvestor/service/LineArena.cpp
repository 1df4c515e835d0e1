#include "harvestor/service/LineArena.h"

#include <algorithm>

namespace harvestor {

void LineArena::Append(std::string_view line) {
  text_.append(line);
  ends_.push_back(text_.size());
}

std::string_view LineArena::Line(std::size_t index) const {
  if (index >= ends_.size()) return {};
  const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
  return std::string_view(text_).substr(begin, ends_[index] - begin);
}

LineArena::Window LineArena::Lines(std::size_t first, std::size_t count) const {
  const std::size_t start = std::min(first, ends_.size());
  return Window(this, start, std::min(count, ends_.size() - start));
}

}  // namespace harvestor
