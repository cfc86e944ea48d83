#include "cards/line_list.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace zav {

void LineList::Own(std::size_t count) {
  if (capacity_ != 0 && count <= capacity_) return;
  const std::size_t capacity = std::max<std::size_t>({count, std::size_t{4}, std::size_t{capacity_} * 2});
  auto* owned = new SourceLine*[capacity];
  for (std::size_t i = 0; i < size_; ++i) owned[i] = (*this)[i];
  if (capacity_ != 0) delete[] pointers_;
  pointers_ = owned;
  capacity_ = static_cast<std::uint32_t>(capacity);
}

void LineList::reserve(std::size_t count) {
  if (capacity_ == 0 && size_ != 0) return;  // a run of records grows in place
  Own(count);
}

void LineList::clear() {
  if (capacity_ == 0) records_ = nullptr;
  size_ = 0;
}

void LineList::Insert(std::size_t at, const LineList& lines) {
  Own(size_ + lines.size());
  std::memmove(pointers_ + at + lines.size(), pointers_ + at, (size_ - at) * sizeof(SourceLine*));
  for (std::size_t i = 0; i < lines.size(); ++i) pointers_[at + i] = lines[i];
  size_ += static_cast<std::uint32_t>(lines.size());
}

void LineList::Prepend(const LineList& lines) {
  if (lines.empty()) return;
  // Records just before a run of records (of the same array: no other
  // block of memory ends where one begins): the run starts earlier.
  if (capacity_ == 0 && lines.capacity_ == 0 && (size_ == 0 || lines.records_ + lines.size_ == records_)) {
    records_ = lines.records_;
    size_ += lines.size_;
    return;
  }
  Insert(0, lines);
}

void LineList::Append(const LineList& lines) {
  if (lines.empty()) return;
  if (capacity_ == 0 && lines.capacity_ == 0 && (size_ == 0 || records_ + size_ == lines.records_)) {
    if (size_ == 0) records_ = lines.records_;
    size_ += lines.size_;
    return;
  }
  Insert(size_, lines);
}

void LineList::Prepend(std::span<SourceLine* const> lines) {
  if (lines.empty()) return;
  Own(size_ + lines.size());
  std::memmove(pointers_ + lines.size(), pointers_, size_ * sizeof(SourceLine*));
  std::memcpy(pointers_, lines.data(), lines.size() * sizeof(SourceLine*));
  size_ += static_cast<std::uint32_t>(lines.size());
}

void LineList::Append(std::span<SourceLine* const> lines) {
  if (lines.empty()) return;
  Own(size_ + lines.size());
  std::memcpy(pointers_ + size_, lines.data(), lines.size() * sizeof(SourceLine*));
  size_ += static_cast<std::uint32_t>(lines.size());
}

}  // namespace zav
