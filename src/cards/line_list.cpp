#include "cards/line_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zav {

LineList::LineList(LineList&& other) noexcept
    : data_(std::exchange(other.data_, nullptr)), size_(std::exchange(other.size_, 0)),
      capacity_(std::exchange(other.capacity_, 0)) {}

LineList& LineList::operator=(LineList&& other) noexcept {
  if (this == &other) return *this;
  if (capacity_ != 0) delete[] data_;
  data_ = std::exchange(other.data_, nullptr);
  size_ = std::exchange(other.size_, 0);
  capacity_ = std::exchange(other.capacity_, 0);
  return *this;
}

LineList::~LineList() {
  if (capacity_ != 0) delete[] data_;
}

void LineList::Borrow(std::span<SourceLine* const> run) {
  if (capacity_ != 0) delete[] data_;
  data_ = const_cast<SourceLine**>(run.data());
  size_ = static_cast<std::uint32_t>(run.size());
  capacity_ = 0;
}

void LineList::Own(std::size_t count) {
  if (capacity_ != 0 && count <= capacity_) return;
  const std::size_t capacity = std::max<std::size_t>({count, std::size_t{4}, std::size_t{capacity_} * 2});
  auto* owned = new SourceLine*[capacity];
  if (size_ != 0) std::memcpy(owned, data_, size_ * sizeof(SourceLine*));
  if (capacity_ != 0) delete[] data_;
  data_ = owned;
  capacity_ = static_cast<std::uint32_t>(capacity);
}

void LineList::reserve(std::size_t count) {
  if (capacity_ == 0 && data_ != nullptr) return;  // a borrowed run grows in place
  Own(count);
}

void LineList::clear() {
  if (capacity_ == 0) data_ = nullptr;
  size_ = 0;
}

void LineList::Prepend(std::span<SourceLine* const> lines) {
  if (lines.empty()) return;
  if (capacity_ == 0 && size_ != 0 && lines.data() + lines.size() == data_) {
    // The lines just before a borrowed run (of the same array: no other
    // block of memory ends where one begins): the run starts earlier.
    data_ = const_cast<SourceLine**>(lines.data());
    size_ += static_cast<std::uint32_t>(lines.size());
    return;
  }
  Own(size_ + lines.size());
  std::memmove(data_ + lines.size(), data_, size_ * sizeof(SourceLine*));
  std::memcpy(data_, lines.data(), lines.size() * sizeof(SourceLine*));
  size_ += static_cast<std::uint32_t>(lines.size());
}

void LineList::Append(std::span<SourceLine* const> lines) {
  if (lines.empty()) return;
  if (capacity_ == 0 && size_ != 0 && data_ + size_ == lines.data()) {
    size_ += static_cast<std::uint32_t>(lines.size());
    return;
  }
  Own(size_ + lines.size());
  std::memcpy(data_ + size_, lines.data(), lines.size() * sizeof(SourceLine*));
  size_ += static_cast<std::uint32_t>(lines.size());
}

}  // namespace zav
