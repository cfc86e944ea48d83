#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <utility>

#include "text/source_line.h"

namespace zav {

// The lines of a card, in order, with the interface of a vector of pointers.
// A card of an import holds its run of the import's line records (a card's
// lines are always consecutive lines of the file, and the import keeps its
// lines in one array), which costs no array of its own; lines added before or
// after the run extend it when they border it. A card given lines from
// elsewhere (a test's, or after merges no import makes) keeps an array of
// pointers of its own.
class LineList {
 public:
  class iterator {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = SourceLine*;
    using difference_type = std::ptrdiff_t;
    using pointer = SourceLine* const*;
    using reference = SourceLine*;

    iterator() = default;
    iterator(SourceLine* const* pointers, SourceLine* records, std::ptrdiff_t index)
        : pointers_(pointers), records_(records), index_(index) {}

    SourceLine* operator*() const { return pointers_ != nullptr ? pointers_[index_] : records_ + index_; }
    SourceLine* operator[](difference_type n) const { return *(*this + n); }
    iterator& operator++() {
      ++index_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++index_;
      return before;
    }
    iterator& operator--() {
      --index_;
      return *this;
    }
    iterator operator--(int) {
      iterator before = *this;
      --index_;
      return before;
    }
    iterator& operator+=(difference_type n) {
      index_ += n;
      return *this;
    }
    iterator& operator-=(difference_type n) {
      index_ -= n;
      return *this;
    }
    friend iterator operator+(iterator at, difference_type n) { return at += n; }
    friend iterator operator+(difference_type n, iterator at) { return at += n; }
    friend iterator operator-(iterator at, difference_type n) { return at -= n; }
    friend difference_type operator-(const iterator& a, const iterator& b) { return a.index_ - b.index_; }
    friend bool operator==(const iterator& a, const iterator& b) { return a.index_ == b.index_; }
    friend auto operator<=>(const iterator& a, const iterator& b) { return a.index_ <=> b.index_; }

   private:
    SourceLine* const* pointers_ = nullptr;
    SourceLine* records_ = nullptr;
    std::ptrdiff_t index_ = 0;
  };
  using value_type = SourceLine*;
  using const_iterator = iterator;
  using reverse_iterator = std::reverse_iterator<iterator>;

  LineList() = default;
  LineList(const LineList&) = delete;
  LineList& operator=(const LineList&) = delete;
  // Inline: every card an import types is moved into its typed card.
  // Made directly, not assigned: classification moves every card's lines
  // from stage to stage.
  LineList(LineList&& other) noexcept : size_(other.size_), capacity_(other.capacity_) {
    if (capacity_ != 0) {
      pointers_ = other.pointers_;
    } else {
      records_ = other.records_;
    }
    other.capacity_ = 0;
    other.size_ = 0;
    other.records_ = nullptr;
  }
  LineList& operator=(LineList&& other) noexcept {
    if (this == &other) return *this;
    if (capacity_ != 0) delete[] pointers_;
    if (other.capacity_ != 0) {
      pointers_ = other.pointers_;
    } else {
      records_ = other.records_;
    }
    capacity_ = other.capacity_;
    size_ = other.size_;
    other.capacity_ = 0;
    other.size_ = 0;
    other.records_ = nullptr;
    return *this;
  }
  ~LineList() {
    if (capacity_ != 0) delete[] pointers_;
  }

  iterator begin() const { return iterator(Pointers(), Records(), 0); }
  iterator end() const { return iterator(Pointers(), Records(), size_); }
  reverse_iterator rbegin() const { return reverse_iterator(end()); }
  reverse_iterator rend() const { return reverse_iterator(begin()); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  // Whether the list keeps an array of pointers of its own (see Borrow).
  bool ownsArray() const { return capacity_ != 0; }
  // The first of the lines where they are a run of consecutive records (an
  // import's card), for a walk that steps a pointer; none otherwise.
  SourceLine* run() const { return capacity_ == 0 ? records_ : nullptr; }
  SourceLine* operator[](std::size_t index) const { return capacity_ != 0 ? pointers_[index] : records_ + index; }
  SourceLine* front() const { return (*this)[0]; }
  SourceLine* back() const { return (*this)[size_ - 1]; }

  // Holds the `count` consecutive records from `first` (of an array that
  // outlives the list) in place of the lines held. Inline: classification
  // gives every card of an import its run this way.
  void Borrow(SourceLine* first, std::size_t count) {
    if (capacity_ != 0) delete[] pointers_;
    capacity_ = 0;
    records_ = first;
    size_ = static_cast<std::uint32_t>(count);
  }

  void push_back(SourceLine* line) { Append(std::span<SourceLine* const>(&line, 1)); }
  void reserve(std::size_t count);
  void clear();
  // Adds lines before the first line, or after the last.
  void Prepend(const LineList& lines);
  void Append(const LineList& lines);
  void Prepend(std::span<SourceLine* const> lines);
  void Append(std::span<SourceLine* const> lines);

 private:
  SourceLine* const* Pointers() const { return capacity_ != 0 ? pointers_ : nullptr; }
  SourceLine* Records() const { return capacity_ != 0 ? nullptr : records_; }
  // Makes the lines an array of pointers of the list's own with room for
  // `count`.
  void Own(std::size_t count);
  void Insert(std::size_t at, const LineList& lines);

  union {
    SourceLine* records_ = nullptr;  // capacity_ 0: a run of records
    SourceLine** pointers_;          // capacity_ > 0: an array of our own
  };
  std::uint32_t size_ = 0;
  std::uint32_t capacity_ = 0;
};

}  // namespace zav
