#pragma once

#include <memory_resource>
#include <vector>

#include "diagnostics/diagnostic.h"
#include "diagnostics/diagnostic_sink.h"
#include "platform/large_block.h"

namespace zav {

// The diagnostics of one import, filed into a sink of their own (see
// DiagnosticSink) and read back in the process-wide list's order: by line
// number, in filing order within a line, those without a line first. Filing
// appends; the order is made once, when the batch is first read.
class DiagnosticBatch final : public DiagnosticSink {
 public:
  // `withTexts` clear: the diagnostics are filed without their texts.
  explicit DiagnosticBatch(bool withTexts = true) : withTexts_(withTexts) {}
  DiagnosticBatch(const DiagnosticBatch&) = delete;
  DiagnosticBatch& operator=(const DiagnosticBatch&) = delete;

  void File(const Diagnostic& diagnostic) override;
  bool WantsTexts() const override { return withTexts_; }

  // The diagnostics in list order.
  using List = std::vector<Diagnostic, LargeBlockAllocator<Diagnostic>>;
  const List& Sorted();

 private:
  std::pmr::monotonic_buffer_resource texts_;
  std::vector<Diagnostic, LargeBlockAllocator<Diagnostic>> diagnostics_;
  bool sorted_ = true;
  bool withTexts_;
};

}  // namespace zav
