#include "diagnostics/diagnostic_sink.h"

#include <ostream>

#include "diagnostics/diagnostic_list.h"

namespace zav {
namespace {

thread_local DiagnosticSink* tThreadSink = nullptr;

}  // namespace


DiagnosticSink& CurrentDiagnosticSink() { return tThreadSink != nullptr ? *tThreadSink : TheDiagnosticList(); }

ScopedDiagnosticSink::ScopedDiagnosticSink(DiagnosticSink& sink) : previous_(tThreadSink) { tThreadSink = &sink; }

ScopedDiagnosticSink::~ScopedDiagnosticSink() { tThreadSink = previous_; }

}  // namespace zav
