#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>

namespace zav {

struct SourceLine;

// The lines of a card, in order: a sequence of pointers with the interface of
// a vector. A card of an import borrows its run of the import's array of
// line pointers (a card's lines are always consecutive lines of the file), so
// it costs no heap block; lines added before or after the run extend it when
// they border it, and only a card given lines from elsewhere (a test's, or
// after merges no import makes) keeps an array of its own.
class LineList {
 public:
  using value_type = SourceLine*;
  using iterator = SourceLine* const*;
  using const_iterator = SourceLine* const*;
  using reverse_iterator = std::reverse_iterator<iterator>;

  LineList() = default;
  LineList(const LineList&) = delete;
  LineList& operator=(const LineList&) = delete;
  LineList(LineList&& other) noexcept;
  LineList& operator=(LineList&& other) noexcept;
  ~LineList();

  iterator begin() const { return data_; }
  iterator end() const { return data_ + size_; }
  reverse_iterator rbegin() const { return reverse_iterator(end()); }
  reverse_iterator rend() const { return reverse_iterator(begin()); }
  SourceLine* const* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  SourceLine* operator[](std::size_t index) const { return data_[index]; }
  SourceLine* front() const { return data_[0]; }
  SourceLine* back() const { return data_[size_ - 1]; }
  operator std::span<SourceLine* const>() const { return std::span<SourceLine* const>(data_, size_); }

  // Borrows `run`, which must outlive the list, in place of the lines held.
  void Borrow(std::span<SourceLine* const> run);

  void push_back(SourceLine* line) { Append(std::span<SourceLine* const>(&line, 1)); }
  void reserve(std::size_t count);
  void clear();
  // Adds `lines` before the first line, or after the last.
  void Prepend(std::span<SourceLine* const> lines);
  void Append(std::span<SourceLine* const> lines);

 private:
  // Makes the lines an array of the list's own with room for `count`.
  void Own(std::size_t count);

  SourceLine** data_ = nullptr;
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 0;  // 0: borrowed (or none)
};

}  // namespace zav
