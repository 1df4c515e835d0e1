// The windows a study's fragments are read in: a reader going through in
// order gets every result from prefetched windows, one jumping about gets
// the right result all the same, and a failed read is raised for the
// window it was meant for, not for another.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "workstation/store/Database.h"
#include "workstation/store/FragmentWindows.h"

namespace workstation {
namespace {

// "R" and the number (appended: GCC 12 at -O3 warns falsely of an
// overlapping copy in resultName(i)).
std::string resultName(std::size_t i) {
  std::string name = "R";
  return name.append(std::to_string(i));
}

// Each result's one fragment names the result; a window starting at
// `failAt` fails to read.
struct NumberedStore {
  std::atomic<int> fills{0};
  std::size_t failAt = static_cast<std::size_t>(-1);
  void fill(FragmentWindows::Window& window) {
    ++fills;
    if (window.first == failAt) throw StoreError("unreadable window");
    for (std::size_t i = 0; i < window.items.size(); ++i) {
      window.items[i]->items.assign(1, StoredFragment());
      window.items[i]->items[0].locus = resultName(window.first + i);
    }
  }
};

std::string nameAt(FragmentWindows& windows, std::size_t index) {
  const auto fragments = windows.at(index);
  return fragments->items.empty() ? "" : fragments->items[0].locus;
}

TEST(FragmentWindowsTest, InOrderAndJumpingAboutEveryResultIsItsOwn) {
  constexpr std::size_t kCount = 3 * FragmentWindows::kResults + 7;
  NumberedStore store;
  FragmentWindows windows([&](FragmentWindows::Window& w) { store.fill(w); });
  windows.setCount(kCount);
  for (std::size_t i = 0; i < kCount; ++i) ASSERT_EQ(nameAt(windows, i), resultName(i));
  EXPECT_EQ(store.fills, 4);  // one read a window, each but the first a prefetch
  for (std::size_t i : {kCount - 1, std::size_t{0}, std::size_t{1500}, std::size_t{513}}) {
    EXPECT_EQ(nameAt(windows, i), resultName(i));
  }
  EXPECT_TRUE(windows.at(kCount)->items.empty());  // past the last
}

TEST(FragmentWindowsTest, AFailedPrefetchIsRaisedOnlyForItsOwnWindow) {
  NumberedStore store;
  store.failAt = FragmentWindows::kResults;  // the second window
  FragmentWindows windows([&](FragmentWindows::Window& w) { store.fill(w); });
  windows.setCount(3 * FragmentWindows::kResults);
  EXPECT_EQ(nameAt(windows, 0), "R0");  // the second window fails on the prefetch
  EXPECT_EQ(nameAt(windows, 2 * FragmentWindows::kResults), "R1024");
  EXPECT_THROW(windows.at(FragmentWindows::kResults), StoreError);
  store.failAt = static_cast<std::size_t>(-1);
  // The failed window answers nothing it did not read: it is read again.
  EXPECT_EQ(nameAt(windows, FragmentWindows::kResults + 1), "R513");
}

}  // namespace
}  // namespace workstation
