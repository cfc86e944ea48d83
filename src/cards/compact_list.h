#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

namespace zav {

// A growable list of pointers that costs one pointer while empty: most cards
// never have the list filled (only models are referenced by elements), and
// an empty std::vector would cost three. Its blocks come from the heap, or,
// for a list that lives no longer than its import, from the import's store,
// which frees them with everything else (see push_back).
template <typename T>
class CompactList {
  static_assert(std::is_pointer_v<T>, "a list of pointers");

 public:
  using value_type = T;
  using iterator = T*;
  using const_iterator = T const*;

  CompactList() = default;
  CompactList(const CompactList& other) { *this = other; }
  CompactList& operator=(const CompactList& other) {
    if (this == &other) return *this;
    clear();
    for (T item : other) push_back(item);
    return *this;
  }
  CompactList(CompactList&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {}
  CompactList& operator=(CompactList&& other) noexcept {
    if (this != &other) {
      Free();
      block_ = std::exchange(other.block_, nullptr);
    }
    return *this;
  }
  ~CompactList() { Free(); }

  T* begin() const { return block_ != nullptr ? block_->items : nullptr; }
  T* end() const { return block_ != nullptr ? block_->items + block_->size : nullptr; }
  std::size_t size() const { return block_ != nullptr ? block_->size : 0; }
  bool empty() const { return size() == 0; }
  T operator[](std::size_t index) const { return block_->items[index]; }
  T front() const { return block_->items[0]; }
  T back() const { return block_->items[block_->size - 1]; }

  // `store` (a CardStore*; none: the heap) gives the blocks: an import
  // fills a list for every model its elements name, and a heap block each,
  // made and freed, would cost more than the rest of the link.
  template <typename Store = std::nullptr_t>
  void push_back(T item, Store store = nullptr) {
    if (block_ == nullptr || block_->size == block_->capacity) Grow(store);
    block_->items[block_->size++] = item;
  }
  void clear() {
    if (block_ != nullptr) block_->size = 0;
  }

 private:
  struct Block {
    std::uint32_t size;
    std::uint32_t capacity : 31;
    std::uint32_t inStore : 1;  // the store frees it, not the list
    T items[1];
  };

  template <typename Store>
  static Block* Allocate(std::uint32_t capacity, Store store) {
    const std::size_t size = offsetof(Block, items) + sizeof(T) * capacity;
    bool inStore = false;
    void* memory = nullptr;
    if constexpr (!std::is_null_pointer_v<Store>) {
      inStore = store != nullptr;
      if (inStore) memory = store->Allocate(size, alignof(Block));
    }
    if (!inStore) memory = ::operator new(size);
    Block* block = static_cast<Block*>(memory);
    block->size = 0;
    block->capacity = capacity;
    block->inStore = inStore ? 1 : 0;
    return block;
  }
  template <typename Store>
  void Grow(Store store) {
    const std::uint32_t capacity = block_ == nullptr ? 2 : block_->capacity * 2;
    Block* grown = Allocate(capacity, store);
    if (block_ != nullptr) {
      std::memcpy(grown->items, block_->items, sizeof(T) * block_->size);
      grown->size = block_->size;
      Free();
    }
    block_ = grown;
  }
  void Free() {
    if (block_ != nullptr && block_->inStore == 0) ::operator delete(block_);
    block_ = nullptr;
  }

  Block* block_ = nullptr;
};

}  // namespace zav
