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
// an empty std::vector would cost three.
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

  void push_back(T item) {
    if (block_ == nullptr || block_->size == block_->capacity) Grow();
    block_->items[block_->size++] = item;
  }
  void clear() {
    if (block_ != nullptr) block_->size = 0;
  }

 private:
  struct Block {
    std::uint32_t size;
    std::uint32_t capacity;
    T items[1];
  };

  static Block* Allocate(std::uint32_t capacity) {
    void* memory = ::operator new(offsetof(Block, items) + sizeof(T) * capacity);
    Block* block = static_cast<Block*>(memory);
    block->size = 0;
    block->capacity = capacity;
    return block;
  }
  void Grow() {
    const std::uint32_t capacity = block_ == nullptr ? 2 : block_->capacity * 2;
    Block* grown = Allocate(capacity);
    if (block_ != nullptr) {
      std::memcpy(grown->items, block_->items, sizeof(T) * block_->size);
      grown->size = block_->size;
      ::operator delete(block_);
    }
    block_ = grown;
  }
  void Free() {
    ::operator delete(block_);
    block_ = nullptr;
  }

  Block* block_ = nullptr;
};

}  // namespace zav
