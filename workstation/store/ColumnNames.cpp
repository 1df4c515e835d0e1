#include "workstation/store/ColumnNames.h"

#include <algorithm>
#include <numeric>

#include "harvestor/service/Text.h"

namespace workstation {
namespace {

std::string folded(std::string_view name) {
  std::string text = harvestor::LowerCase(name);
  std::erase_if(text, [](char c) { return c == ' ' || c == '_' || c == '-'; });
  return text;
}

// Edits from a to b, a swap of neighbours counting as one (the optimal
// string alignment distance).
std::size_t distance(const std::string& a, const std::string& b) {
  std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
  std::iota(previous.begin(), previous.end(), std::size_t{0});
  for (std::size_t i = 1; i <= a.size(); ++i) {
    current[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t replace = previous[j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1);
      current[j] = std::min({previous[j] + 1, current[j - 1] + 1, replace});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        current[j] = std::min(current[j], before[j - 2] + 1);
      }
    }
    before.swap(previous);
    previous.swap(current);
  }
  return previous[b.size()];
}

}  // namespace

const std::string* ColumnNames::find(std::string_view heading) const {
  const auto it = std::find_if(known_.begin(), known_.end(), [&](const std::string& name) {
    return harvestor::EqualsNoCase(name, heading);
  });
  return it == known_.end() ? nullptr : &*it;
}

std::string ColumnNames::closest(std::string_view heading) const {
  const std::string text = folded(heading);
  if (text.empty()) return {};
  const std::string* best = nullptr;
  std::size_t bestDistance = 0;
  for (const std::string& name : known_) {
    const std::string candidate = folded(name);
    const std::size_t limit = std::min(text.size(), candidate.size()) <= 4 ? 1 : 2;
    const std::size_t d = distance(text, candidate);
    if (d <= limit && (!best || d < bestDistance)) {
      best = &name;
      bestDistance = d;
    }
  }
  return best ? *best : std::string();
}

std::string ColumnNames::unknown(std::string_view heading) const {
  std::string message = "unknown column '" + std::string(heading) + "'";
  if (const std::string near = closest(heading); !near.empty()) {
    message += " (did you mean '" + near + "'?)";
  }
  return message;
}

std::string unknownColumnMessage(const std::string& path, const ColumnNames& names,
                                 std::string_view heading) {
  return path + ":1: " + names.unknown(heading);
}

}  // namespace workstation
