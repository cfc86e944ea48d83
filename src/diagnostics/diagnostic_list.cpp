#include "diagnostics/diagnostic_list.h"

namespace zav {

Diagnostic* DiagnosticList::Add(std::unique_ptr<Diagnostic> diagnostic) {
  const int32_t key = diagnostic->lineNumber;
  // multimap inserts an equal key after the existing ones: filing order is kept.
  return entries_.emplace(key, std::move(diagnostic))->second.get();
}

Diagnostic* DiagnosticList::First() {
  if (entries_.empty()) return nullptr;
  cursor_ = entries_.begin();
  cursorValid_ = true;
  return cursor_->second.get();
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
  return cursor_->second.get();
}

void DiagnosticList::Clear() {
  entries_.clear();
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
