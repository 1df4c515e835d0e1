#pragma once
// The component's collection: items in insertion order, each with an optional
// text key compared without regard to case. Append, lookup and removal by key
// take constant time (removal leaves a hole that is swept out once holes
// outnumber items), so building a table stays linear. Collections are shared
// by reference (std::shared_ptr) because one part fills what another reads.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <unordered_map>
#include <utility>
#include <vector>

#include "harvestor/service/CaseFold.h"
#include "harvestor/service/HError.h"
#include "harvestor/service/Text.h"
#include "harvestor/service/Variant.h"

namespace harvestor {

// An object whose properties the host can read by name (late-bound), as the
// host's collection sort does.
class IObject {
 public:
  virtual ~IObject() = default;
  virtual Variant GetProperty(std::string_view name) const = 0;
};

// What the host's collection operations need of any collection.
class CollectionBase {
 public:
  virtual ~CollectionBase() = default;
  virtual std::int32_t Count() const = 0;
  virtual bool HasKey(std::string_view key) const = 0;
  // The items in order as late-bound objects; null for items that are none.
  virtual std::vector<const IObject*> Objects() const = 0;
  // A new collection of the same items, keys kept, in the given order of
  // positions (0-based, as Objects() lists them).
  virtual std::shared_ptr<CollectionBase> Reordered(
      const std::vector<std::size_t>& order) const = 0;
};

struct NoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view s) const noexcept { return HashNoCase(s); }
};
struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const noexcept {
    return EqualsNoCase(a, b);
  }
};

template <class T>
class Collection final : public CollectionBase {
  struct Slot {
    T item;
    std::string key;
    bool keyed = false;
    bool live = true;
  };

 public:
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = const T*;
    using reference = const T&;
    const_iterator() = default;
    const_iterator(const std::vector<Slot>* slots, std::size_t pos) : slots_(slots), pos_(pos) {
      Skip();
    }
    const T& operator*() const { return (*slots_)[pos_].item; }
    const T* operator->() const { return &(*slots_)[pos_].item; }
    const_iterator& operator++() {
      ++pos_;
      Skip();
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const const_iterator& o) const { return pos_ == o.pos_; }

   private:
    void Skip() {
      while (pos_ < slots_->size() && !(*slots_)[pos_].live) ++pos_;
    }
    const std::vector<Slot>* slots_ = nullptr;
    std::size_t pos_ = 0;
  };

  const_iterator begin() const { return const_iterator(&slots_, 0); }
  const_iterator end() const { return const_iterator(&slots_, slots_.size()); }

  std::int32_t Count() const override { return static_cast<std::int32_t>(live_); }

  void Add(T item) {
    slots_.push_back(Slot{std::move(item), std::string(), false, true});
    ++live_;
  }

  // A key already present raises error 457, as the classic collection does.
  void Add(T item, std::string_view key) {
    if (index_.find(key) != index_.end()) RaiseError(ErrNo::DuplicateKey);
    slots_.push_back(Slot{std::move(item), std::string(key), true, true});
    index_.emplace(std::string(key), slots_.size() - 1);
    ++live_;
  }

  bool HasKey(std::string_view key) const override { return index_.find(key) != index_.end(); }

  // The item under key; a missing key raises error 5.
  const T& Item(std::string_view key) const {
    const auto it = index_.find(key);
    if (it == index_.end()) RaiseError(ErrNo::InvalidProcedureCall);
    return slots_[it->second].item;
  }

  // Removes the item under key; a missing key raises error 5.
  void Remove(std::string_view key) {
    const auto it = index_.find(key);
    if (it == index_.end()) RaiseError(ErrNo::InvalidProcedureCall);
    Slot& slot = slots_[it->second];
    slot.live = false;
    slot.item = T();
    index_.erase(it);
    --live_;
    if (slots_.size() > 16 && slots_.size() > 2 * live_) Compact();
  }

  std::vector<const IObject*> Objects() const override {
    std::vector<const IObject*> out;
    out.reserve(live_);
    for (const Slot& slot : slots_) {
      if (!slot.live) continue;
      if constexpr (std::is_convertible_v<T, std::shared_ptr<const IObject>>) {
        out.push_back(slot.item.get());
      } else {
        out.push_back(nullptr);
      }
    }
    return out;
  }

  std::shared_ptr<CollectionBase> Reordered(const std::vector<std::size_t>& order) const override {
    std::vector<const Slot*> live;
    live.reserve(live_);
    for (const Slot& slot : slots_) {
      if (slot.live) live.push_back(&slot);
    }
    auto out = std::make_shared<Collection<T>>();
    for (std::size_t pos : order) {
      if (pos >= live.size()) RaiseError(ErrNo::SubscriptOutOfRange);
      const Slot& slot = *live[pos];
      if (slot.keyed) {
        out->Add(slot.item, slot.key);
      } else {
        out->Add(slot.item);
      }
    }
    return out;
  }

 private:
  void Compact() {
    std::vector<Slot> kept;
    kept.reserve(live_);
    for (Slot& slot : slots_) {
      if (slot.live) kept.push_back(std::move(slot));
    }
    slots_ = std::move(kept);
    for (std::size_t i = 0; i < slots_.size(); ++i) {
      if (slots_[i].keyed) index_.find(slots_[i].key)->second = i;
    }
  }

  std::vector<Slot> slots_;
  std::unordered_map<std::string, std::size_t, NoCaseHash, NoCaseEqual> index_;
  std::size_t live_ = 0;
};

template <class T>
using CollectionPtr = std::shared_ptr<Collection<T>>;

template <class T>
CollectionPtr<T> NewCollection() {
  return std::make_shared<Collection<T>>();
}

}  // namespace harvestor
