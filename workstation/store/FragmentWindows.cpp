#include "workstation/store/FragmentWindows.h"

#include <algorithm>

namespace workstation {

std::shared_ptr<StoredFragments> FragmentWindows::at(std::size_t index) {
  if (index >= count_) return std::make_shared<StoredFragments>();
  if (index < current_.first || index >= current_.end()) {
    if (pending_.valid() && next_.first == index) {
      pending_.get();  // a failed read raises its error here
      std::swap(current_, next_);
    } else {
      settle();
      prepare(current_, index);
      try {
        fill_(current_);
      } catch (...) {
        current_.items.clear();  // it holds nothing it could answer for
        throw;
      }
    }
    if (current_.end() < count_) {
      prepare(next_, current_.end());
      pending_ = std::async(std::launch::async, [this] { fill_(next_); });
    }
  }
  return current_.items[index - current_.first];
}

void FragmentWindows::settle() {
  if (!pending_.valid()) return;
  try {
    pending_.get();
  } catch (const std::exception&) {
    next_.items.clear();
  }
}

// Sizes a window for the results from first on. Its collections are filled
// again in place unless a caller still holds one, so going through the
// study reuses the same few megabytes.
void FragmentWindows::prepare(Window& window, std::size_t first) const {
  const std::size_t last = std::min(first + kResults, count_);
  window.first = first;
  window.items.resize(last - first);
  for (auto& fragments : window.items) {
    // Kept whole: decoding into it again reuses its fragments' texts.
    if (!fragments || fragments.use_count() != 1) fragments = std::make_shared<StoredFragments>();
  }
}

}  // namespace workstation
