#include "harvestor/service/TemporaryFiles.h"

#include <unistd.h>

#include <atomic>
#include <cstring>

namespace harvestor::TemporaryFiles {
namespace {

constexpr int kSlots = 64;
constexpr std::size_t kLongestName = 4096;
enum State : int { kFree, kFilling, kLive };

struct Slot {
  std::atomic<int> state{kFree};
  char name[kLongestName];
};

Slot slots[kSlots];

}  // namespace

int Add(const std::string& path) {
  if (path.size() >= kLongestName) return -1;
  for (int i = 0; i < kSlots; ++i) {
    int expected = kFree;
    if (!slots[i].state.compare_exchange_strong(expected, kFilling)) continue;
    std::memcpy(slots[i].name, path.c_str(), path.size() + 1);
    slots[i].state.store(kLive);
    return i;
  }
  return -1;
}

void Forget(int slot) {
  if (slot >= 0 && slot < kSlots) slots[slot].state.store(kFree);
}

void RemoveAll() noexcept {
  for (Slot& slot : slots) {
    if (slot.state.load() == kLive) ::unlink(slot.name);
  }
}

}  // namespace harvestor::TemporaryFiles
