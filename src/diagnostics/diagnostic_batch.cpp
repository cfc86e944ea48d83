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
