#include "workstation/store/TextPool.h"

namespace workstation {

TextPool::TextPool() { add(""); }

std::uint32_t TextPool::add(std::string_view text) {
  if (const auto it = numbers_.find(text); it != numbers_.end()) return it->second;
  const auto number = static_cast<std::uint32_t>(texts_.size());
  numbers_.emplace(texts_.emplace_back(text), number);
  return number;
}

}  // namespace workstation
