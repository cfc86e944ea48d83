#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <memory_resource>

#include "diagnostics/diagnostic.h"
#include "diagnostics/diagnostic_sink.h"

namespace zav {

// The diagnostics of the process, ordered by line number; diagnostics with the
// same number stay in filing order, and those without a line (0) come first.
// Filing is O(log n). One cursor serves First/Next for the whole process;
// filing does not move it. The records and their texts live in blocks the
// list allocates as it grows, not in one heap block per diagnostic.
class DiagnosticList final : public DiagnosticSink {
 public:
  DiagnosticList() = default;
  DiagnosticList(const DiagnosticList&) = delete;
  DiagnosticList& operator=(const DiagnosticList&) = delete;

  // Files a copy of the diagnostic after every entry whose line number is
  // not greater. Returns the stored diagnostic.
  Diagnostic* Add(const Diagnostic& diagnostic);
  Diagnostic* Add(std::unique_ptr<Diagnostic> diagnostic) { return Add(*diagnostic); }
  void File(const Diagnostic& diagnostic) override { Add(diagnostic); }

  // Places the cursor on the first diagnostic and returns it; none when empty.
  Diagnostic* First();
  // Steps the cursor and returns the diagnostic there; none at the end. The
  // call after the one that reached the end starts again at the first.
  Diagnostic* Next();

  uint32_t Count() const { return static_cast<uint32_t>(entries_.size()); }

  // Visits every diagnostic in list order without touching the cursor.
  template <typename F>
  void ForEach(F&& visit) const {
    for (const auto& entry : entries_) visit(entry.second);
  }

  // Removes everything. The library itself never empties the list while it is
  // loaded; tests and zav-import use this to start from a known state.
  void Clear();

 private:
  using Entries = std::pmr::multimap<int32_t, Diagnostic>;
  std::pmr::monotonic_buffer_resource memory_;
  Entries entries_{&memory_};
  Entries::iterator cursor_ = entries_.end();
  bool cursorValid_ = false;
};

// The process-wide list: constructed when the library is loaded, before any
// export can run, and destroyed when it is unloaded.
DiagnosticList& TheDiagnosticList();

}  // namespace zav
