// Memory for the large blocks an import fills from start to end: the file's
// text, its lines, the blocks its cards live in. Touching fresh memory costs
// the operating system one page fault per page; where the system offers
// pages of 2 MB (Linux transparent huge pages), large blocks ask for them,
// which makes a tenth of an import's time on a large file go away. Blocks
// smaller than that, and every block elsewhere, are plain heap blocks.
#pragma once

#include <cstddef>
#include <limits>
#include <new>

namespace zav {

// Throws std::bad_alloc when there is no memory.
void* AllocateLargeBlock(std::size_t size);
void FreeLargeBlock(void* block, std::size_t size) noexcept;

// A standard allocator over AllocateLargeBlock, for the vectors that grow
// with the file.
template <typename T>
struct LargeBlockAllocator {
  using value_type = T;
  LargeBlockAllocator() = default;
  template <typename U>
  LargeBlockAllocator(const LargeBlockAllocator<U>&) noexcept {}

  T* allocate(std::size_t count) {
    if (count > std::numeric_limits<std::size_t>::max() / sizeof(T)) throw std::bad_alloc();
    return static_cast<T*>(AllocateLargeBlock(count * sizeof(T)));
  }
  void deallocate(T* block, std::size_t count) noexcept { FreeLargeBlock(block, count * sizeof(T)); }

  template <typename U>
  bool operator==(const LargeBlockAllocator<U>&) const noexcept {
    return true;
  }
};

}  // namespace zav

namespace zav {

// One large block of `size` bytes, freed with the object.
class LargeBuffer {
 public:
  LargeBuffer() = default;
  explicit LargeBuffer(std::size_t size) : data_(static_cast<char*>(AllocateLargeBlock(size))), size_(size) {}
  LargeBuffer(LargeBuffer&& other) noexcept : data_(other.data_), size_(other.size_) {
    other.data_ = nullptr;
    other.size_ = 0;
  }
  LargeBuffer& operator=(LargeBuffer&& other) noexcept {
    if (this != &other) {
      FreeLargeBlock(data_, size_);
      data_ = other.data_;
      size_ = other.size_;
      other.data_ = nullptr;
      other.size_ = 0;
    }
    return *this;
  }
  LargeBuffer(const LargeBuffer&) = delete;
  LargeBuffer& operator=(const LargeBuffer&) = delete;
  ~LargeBuffer() { FreeLargeBlock(data_, size_); }

  char* data() const { return data_; }
  std::size_t size() const { return size_; }

 private:
  char* data_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace zav
