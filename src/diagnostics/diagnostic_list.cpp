#include "diagnostics/diagnostic_list.h"

#include <cstring>

namespace zav {

Diagnostic* DiagnosticList::Add(const Diagnostic& diagnostic) {
  Diagnostic stored;
  stored.lineNumber = diagnostic.lineNumber;
  stored.code = diagnostic.code;
  stored.severity = diagnostic.severity;
  if (!diagnostic.text.empty()) {
    char* text = static_cast<char*>(memory_.allocate(diagnostic.text.size(), 1));
    std::memcpy(text, diagnostic.text.data(), diagnostic.text.size());
    stored.text = DiagnosticText::View(std::string_view(text, diagnostic.text.size()));
  }
  // multimap inserts an equal key after the existing ones: filing order is kept.
  return &entries_.emplace(stored.lineNumber, stored)->second;
}

Diagnostic* DiagnosticList::First() {
  if (entries_.empty()) return nullptr;
  cursor_ = entries_.begin();
  cursorValid_ = true;
  return &cursor_->second;
}

Diagnostic* DiagnosticList::Next() {
  if (entries_.empty()) return nullptr;
  if (!cursorValid_) {
    // Next before any First: the cursor has no position yet; report the end.
    return nullptr;
  }
  if (cursor_ == entries_.end()) {
    cursor_ = entries_.begin();
  } else {
    ++cursor_;
    if (cursor_ == entries_.end()) return nullptr;
  }
  return &cursor_->second;
}

void DiagnosticList::Clear() {
  entries_.clear();
  memory_.release();
  cursor_ = entries_.end();
  cursorValid_ = false;
}

namespace {
// Constructed during the library's static initialisation, before any export
// can be called, and destroyed when the library is unloaded.
DiagnosticList gDiagnostics;
}  // namespace

DiagnosticList& TheDiagnosticList() { return gDiagnostics; }

}  // namespace zav
