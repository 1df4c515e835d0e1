#pragma once
// Texts that many rows of an import repeat (subject IDs, property values
// such as genders, affectation statuses and pedigree IDs), each kept once: a
// row holds the number of its text instead of a copy. The empty text is
// number 0.

#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>

namespace workstation {

class TextPool {
 public:
  TextPool();
  TextPool(const TextPool&) = delete;
  TextPool& operator=(const TextPool&) = delete;

  // The number of that text, the same each time it is added.
  std::uint32_t add(std::string_view text);
  const std::string& text(std::uint32_t number) const { return texts_[number]; }

 private:
  std::deque<std::string> texts_;  // a deque, so that the keys below stay put
  std::unordered_map<std::string_view, std::uint32_t> numbers_;
};

}  // namespace workstation
