#include "workstation/store/ReadAhead.h"

#include <array>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>

namespace workstation {
namespace {

// Thrown into the source to stop it once the sink has failed.
struct Stopped {};

// The results between the two threads: a ring of slots, each reused, so
// that a result's buffers are too.
class Ring {
 public:
  // The source's side: copies the result into a free slot.
  void put(const ImportedResult& result) {
    std::size_t slot = 0;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return count_ < slots_.size() || stopped_; });
      if (stopped_) throw Stopped{};
      slot = (head_ + count_) % slots_.size();
    }
    slots_[slot] = result;  // a free slot: the sink does not look at it
    {
      std::lock_guard lock(mutex_);
      ++count_;
    }
    changed_.notify_all();
  }
  void finish(std::exception_ptr failure) {
    {
      std::lock_guard lock(mutex_);
      finished_ = true;
      failure_ = std::move(failure);
    }
    changed_.notify_all();
  }
  void stop() {
    {
      std::lock_guard lock(mutex_);
      stopped_ = true;
    }
    changed_.notify_all();
  }

  // The sink's side: the oldest result, or null once the source finished
  // and every result was taken. It stays put until release().
  const ImportedResult* take() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return count_ > 0 || finished_; });
    return count_ > 0 ? &slots_[head_] : nullptr;
  }
  void release() {
    {
      std::lock_guard lock(mutex_);
      head_ = (head_ + 1) % slots_.size();
      --count_;
    }
    changed_.notify_all();
  }
  std::exception_ptr failure() {
    std::lock_guard lock(mutex_);
    return failure_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::array<ImportedResult, kReadAheadResults> slots_;
  std::size_t head_ = 0, count_ = 0;
  bool finished_ = false, stopped_ = false;
  std::exception_ptr failure_;
};

}  // namespace

ResultSource readAhead(ResultSource source) {
  return [source = std::move(source)](const ResultSink& add) {
    Ring ring;
    std::thread reader([&] {
      std::exception_ptr failure;
      try {
        source([&](const ImportedResult& result) { ring.put(result); });
      } catch (const Stopped&) {
      } catch (...) {
        failure = std::current_exception();
      }
      ring.finish(failure);
    });
    try {
      while (const ImportedResult* result = ring.take()) {
        add(*result);
        ring.release();
      }
    } catch (...) {
      ring.stop();
      reader.join();
      throw;
    }
    reader.join();
    if (const std::exception_ptr failure = ring.failure()) std::rethrow_exception(failure);
  };
}

}  // namespace workstation
