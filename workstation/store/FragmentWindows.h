#pragma once
// A study's fragments, read a window of consecutive study results at a
// time: the window after the one being read is filled on a second thread
// meanwhile, so a reader that goes through the study in order rarely waits
// for the store, and holds two windows, never the whole study. Each engine's
// source gives the fill, which reads on a connection of its own: the fill
// runs on one thread at a time, either as the prefetch or, after waiting for
// it, on the caller's.

#include <cstddef>
#include <functional>
#include <future>
#include <memory>
#include <vector>

#include "workstation/store/StoredStudy.h"

namespace workstation {

class FragmentWindows {
 public:
  // Results a window holds: large enough that a query a window costs little,
  // small enough that a window is a few megabytes.
  static constexpr std::size_t kResults = 512;

  struct Window {
    std::size_t first = 0;
    std::vector<std::shared_ptr<StoredFragments>> items;
    std::size_t end() const { return first + items.size(); }
  };
  // Fills each of the window's items (results first, first + 1, ...) in
  // place, emptying those the store holds no fragments for.
  using Fill = std::function<void(Window&)>;

  explicit FragmentWindows(Fill fill) : fill_(std::move(fill)) {}
  ~FragmentWindows() { settle(); }
  FragmentWindows(const FragmentWindows&) = delete;
  FragmentWindows& operator=(const FragmentWindows&) = delete;

  // The study holds results 0 to count - 1.
  void setCount(std::size_t count) { count_ = count; }
  std::size_t count() const { return count_; }
  // The fragments of the result at index; empty past the last. A failed
  // read raises its error here, for the window it was meant for.
  std::shared_ptr<StoredFragments> at(std::size_t index);

 private:
  // Waits for a prefetch nobody will read; its error, if any, is met again
  // when that window is read.
  void settle();
  void prepare(Window& window, std::size_t first) const;

  Fill fill_;
  std::size_t count_ = 0;
  Window current_, next_;
  std::future<void> pending_;  // fills next_
};

}  // namespace workstation
