#pragma once

#include <cstdint>
#include <iterator>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/diagnostic_sink.h"
#include "platform/large_block.h"

namespace zav {

// The diagnostics of one import, filed into a sink of their own (see
// DiagnosticSink) and read back in the process-wide list's order: by line
// number, in filing order within a line, those without a line first. Filing
// appends a record of 16 bytes (the text goes into one block of texts); the
// order is made once, when the batch is first read.
class DiagnosticBatch final : public DiagnosticSink {
 public:
  // `withTexts` clear: the diagnostics are filed without their texts.
  explicit DiagnosticBatch(bool withTexts = true) : withTexts_(withTexts) {}
  DiagnosticBatch(const DiagnosticBatch&) = delete;
  DiagnosticBatch& operator=(const DiagnosticBatch&) = delete;

  void File(const Diagnostic& diagnostic) override;
  bool WantsTexts() const override { return withTexts_; }
  // Copies the records (and texts) of the run as they are, when both
  // batches keep texts alike.
  void FileFrom(const DiagnosticBatch& batch, std::size_t first, std::size_t count) override;

  // The diagnostics in list order, each read as a Diagnostic whose text views
  // the batch.
  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Diagnostic;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Diagnostic;

    iterator() = default;
    iterator(const DiagnosticBatch* batch, std::size_t index) : batch_(batch), index_(index) {}
    Diagnostic operator*() const { return batch_->At(index_); }
    iterator& operator++() {
      ++index_;
      return *this;
    }
    iterator operator++(int) {
      iterator before = *this;
      ++index_;
      return before;
    }
    friend bool operator==(const iterator& a, const iterator& b) { return a.index_ == b.index_; }

   private:
    const DiagnosticBatch* batch_ = nullptr;
    std::size_t index_ = 0;
  };

  // Puts the diagnostics in list order (once); reading starts with this.
  DiagnosticBatch& Sorted();
  iterator begin() const { return iterator(this, 0); }
  iterator end() const { return iterator(this, entries_.size()); }
  std::size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  Diagnostic At(std::size_t index) const;

 private:
  struct Entry {
    std::int32_t lineNumber;
    std::uint8_t code;
    std::uint8_t severity;
    std::uint32_t textOffset;
    std::uint32_t textSize;
  };

  std::vector<Entry, LargeBlockAllocator<Entry>> entries_;
  std::vector<char, LargeBlockAllocator<char>> texts_;
  bool sorted_ = true;
  bool withTexts_;
};

}  // namespace zav
