#include "harvestor/service/LineArena.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace harvestor {
namespace {
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
}

void LineArena::Append(std::string_view line) {
  if (line.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("a line of more than 4 GiB");
  }
  const std::size_t stored = line.size() + kLineEnd.size();
  if (blocks_.empty() || blocks_.back().capacity() - blocks_.back().size() < stored) {
    std::string& block = blocks_.emplace_back();
    block.reserve(std::max(kBlockBytes, stored));
    firstLines_.push_back(ends_.size());
  }
  std::string& block = blocks_.back();
  block.append(line);
  ends_.push_back(static_cast<std::uint32_t>(block.size()));
  block.append(kLineEnd);
  bytes_ += line.size();
}

std::size_t LineArena::BlockOf(std::size_t index) const {
  if (index >= ends_.size()) return 0;
  const auto after = std::upper_bound(firstLines_.begin(), firstLines_.end(), index);
  return static_cast<std::size_t>(after - firstLines_.begin()) - 1;
}

std::string_view LineArena::Line(std::size_t index) const {
  if (index >= ends_.size()) return {};
  const std::size_t b = BlockOf(index);
  const std::size_t begin = index == firstLines_[b] ? 0 : ends_[index - 1] + kLineEnd.size();
  return std::string_view(blocks_[b]).substr(begin, ends_[index] - begin);
}

LineArena::Window LineArena::Lines(std::size_t first, std::size_t count) const {
  const std::size_t start = std::min(first, ends_.size());
  return Window(this, start, std::min(count, ends_.size() - start));
}

}  // namespace harvestor
