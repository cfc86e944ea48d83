#include "diagnostics/diagnostic_batch.h"

#include <algorithm>

namespace zav {

void DiagnosticBatch::File(const Diagnostic& diagnostic) {
  Entry entry{diagnostic.lineNumber, static_cast<std::uint8_t>(diagnostic.code),
              static_cast<std::uint8_t>(diagnostic.severity), static_cast<std::uint32_t>(texts_.size()),
              static_cast<std::uint32_t>(diagnostic.text.size())};
  if (withTexts_) texts_.insert(texts_.end(), diagnostic.text.data(), diagnostic.text.data() + diagnostic.text.size());
  if (!entries_.empty() && entries_.back().lineNumber > entry.lineNumber) sorted_ = false;
  entries_.push_back(entry);
}

void DiagnosticBatch::FileFrom(const DiagnosticBatch& batch, std::size_t first, std::size_t count) {
  if (count == 0) return;
  if (batch.withTexts_ != withTexts_ || &batch == this) return DiagnosticSink::FileFrom(batch, first, count);
  const Entry* from = batch.entries_.data() + first;
  const Entry* const end = from + count;
  // The run's texts follow each other in the batch's texts, as they were
  // filed: they go on as one piece, and each record's offset moves by as
  // much as the piece does.
  std::uint32_t shift = 0;
  if (withTexts_) {
    const std::uint32_t textsBegin = from->textOffset;
    const std::uint32_t textsEnd = end[-1].textOffset + end[-1].textSize;
    shift = static_cast<std::uint32_t>(texts_.size()) - textsBegin;
    texts_.insert(texts_.end(), batch.texts_.data() + textsBegin, batch.texts_.data() + textsEnd);
  }
  std::int32_t lastLine = entries_.empty() ? from->lineNumber : entries_.back().lineNumber;
  for (; from != end; ++from) {
    Entry entry = *from;
    entry.textOffset += shift;
    if (lastLine > entry.lineNumber) sorted_ = false;
    lastLine = entry.lineNumber;
    entries_.push_back(entry);
  }
}

DiagnosticBatch& DiagnosticBatch::Sorted() {
  if (!sorted_) {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [](const Entry& a, const Entry& b) { return a.lineNumber < b.lineNumber; });
    sorted_ = true;
  }
  return *this;
}

Diagnostic DiagnosticBatch::At(std::size_t index) const {
  const Entry& entry = entries_[index];
  Diagnostic diagnostic;
  diagnostic.lineNumber = entry.lineNumber;
  diagnostic.code = static_cast<MessageCode>(entry.code);
  diagnostic.severity = static_cast<Severity>(entry.severity);
  if (withTexts_ && entry.textSize != 0) {
    diagnostic.text = DiagnosticText::View(std::string_view(texts_.data() + entry.textOffset, entry.textSize));
  }
  return diagnostic;
}

}  // namespace zav
