#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/ascii.h"
#include "platform/no_case_hash.h"

namespace zav {

// A lookup by name, letter case ignored, for names that outlive it (views of
// the file, of constant tables): one open-addressed array of names and
// values, no heap block per entry and no copy of a name. Of two entries of
// one name the first added is found.
template <typename Value>
class NoCaseIndex {
 public:
  NoCaseIndex() = default;

  // Makes room for `count` entries without growing.
  void Reserve(std::size_t count) {
    std::size_t capacity = 8;
    while (capacity * 3 < count * 4) capacity *= 2;
    if (capacity > slots_.size()) Rehash(capacity);
  }

  // Adds `value` under `name` unless the name is there already; the value
  // found under the name either way.
  Value& Add(std::string_view name, const Value& value) {
    // At most three quarters full: probes stay short.
    if ((size_ + 1) * 4 > slots_.size() * 3) Rehash(slots_.size() < 8 ? 8 : slots_.size() * 2);
    const auto hash = static_cast<std::uint32_t>(NoCaseHash()(name));
    std::size_t at = hash & (slots_.size() - 1);
    for (;; at = (at + 1) & (slots_.size() - 1)) {
      Slot& slot = slots_[at];
      if (!slot.used()) {
        slot = Slot{name.data(), static_cast<std::uint32_t>(name.size() + 1), hash, value};
        ++size_;
        return slot.value;
      }
      if (slot.hash == hash && EqualsNoCase(slot.name(), name)) return slot.value;
    }
  }

  // The value under `name`, or none.
  const Value* Find(std::string_view name) const {
    if (size_ == 0) return nullptr;
    const auto hash = static_cast<std::uint32_t>(NoCaseHash()(name));
    for (std::size_t at = hash & (slots_.size() - 1);; at = (at + 1) & (slots_.size() - 1)) {
      const Slot& slot = slots_[at];
      if (!slot.used()) return nullptr;
      if (slot.hash == hash && EqualsNoCase(slot.name(), name)) return &slot.value;
    }
  }

  std::size_t size() const { return size_; }

  // Removes every entry and gives the memory back.
  void Clear() {
    slots_ = std::vector<Slot>();
    size_ = 0;
  }

 private:
  // A name's characters and its length plus one (0: the slot is free), its
  // hash, and the value.
  struct Slot {
    const char* data = nullptr;
    std::uint32_t sizePlusOne = 0;
    std::uint32_t hash = 0;
    Value value{};

    bool used() const { return sizePlusOne != 0; }
    std::string_view name() const { return std::string_view(data, sizePlusOne - 1); }
  };

  void Rehash(std::size_t capacity) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    size_ = 0;
    for (const Slot& slot : old) {
      if (!slot.used()) continue;
      std::size_t at = slot.hash & (capacity - 1);
      while (slots_[at].used()) at = (at + 1) & (capacity - 1);
      slots_[at] = slot;
      ++size_;
    }
  }

  std::vector<Slot> slots_;
  std::size_t size_ = 0;
};

}  // namespace zav
