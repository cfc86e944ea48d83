#include "diagnostics/diagnostic_batch.h"

#include <algorithm>
#include <cstring>

namespace zav {

void DiagnosticBatch::File(const Diagnostic& diagnostic) {
  Diagnostic stored;
  stored.lineNumber = diagnostic.lineNumber;
  stored.code = diagnostic.code;
  stored.severity = diagnostic.severity;
  if (!diagnostic.text.empty()) {
    char* text = static_cast<char*>(texts_.allocate(diagnostic.text.size(), 1));
    std::memcpy(text, diagnostic.text.data(), diagnostic.text.size());
    stored.text = DiagnosticText::View(std::string_view(text, diagnostic.text.size()));
  }
  if (!diagnostics_.empty() && diagnostics_.back().lineNumber > stored.lineNumber) sorted_ = false;
  diagnostics_.push_back(stored);
}

const DiagnosticBatch::List& DiagnosticBatch::Sorted() {
  if (!sorted_) {
    std::stable_sort(diagnostics_.begin(), diagnostics_.end(),
                     [](const Diagnostic& a, const Diagnostic& b) { return a.lineNumber < b.lineNumber; });
    sorted_ = true;
  }
  return diagnostics_;
}

}  // namespace zav
