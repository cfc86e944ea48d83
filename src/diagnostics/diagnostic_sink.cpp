#include "diagnostics/diagnostic_sink.h"

#include <ostream>

#include "diagnostics/diagnostic_batch.h"
#include "diagnostics/diagnostic_list.h"

namespace zav {
namespace {

thread_local DiagnosticSink* tThreadSink = nullptr;

}  // namespace

void DiagnosticSink::FileFrom(const DiagnosticBatch& batch, std::size_t first, std::size_t count) {
  for (std::size_t i = first; i < first + count; ++i) File(batch.At(i));
}

DiagnosticSink& CurrentDiagnosticSink() { return tThreadSink != nullptr ? *tThreadSink : TheDiagnosticList(); }

ScopedDiagnosticSink::ScopedDiagnosticSink(DiagnosticSink& sink) : previous_(tThreadSink) { tThreadSink = &sink; }

ScopedDiagnosticSink::~ScopedDiagnosticSink() { tThreadSink = previous_; }

}  // namespace zav
