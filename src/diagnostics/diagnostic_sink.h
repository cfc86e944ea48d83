#pragma once

#include <cstddef>

#include "diagnostics/diagnostic.h"

namespace zav {

class DiagnosticBatch;

// Where AddDiagnostic files. The process-wide DiagnosticList is the sink of
// every import a host runs; a program that runs imports on several threads at
// once (zav-import -j) gives each thread a sink of its own while it imports,
// so that the diagnostics of different files never mix and the process-wide
// list, whose contract is one calling thread, is not touched.
class DiagnosticSink {
 public:
  // Files a copy of the diagnostic (its text included).
  virtual void File(const Diagnostic& diagnostic) = 0;
  // Whether the sink keeps the texts; one that does not (a caller that only
  // counts diagnostics) is given them empty, and they are not even made.
  virtual bool WantsTexts() const { return true; }
  // Files `count` diagnostics of `batch` as File would, as its At reads
  // them, from the `first` on: diagnostics held back in a batch (see
  // EarlyTranslation) go on to a sink in runs.
  virtual void FileFrom(const DiagnosticBatch& batch, std::size_t first, std::size_t count);

 protected:
  DiagnosticSink() = default;
  DiagnosticSink(const DiagnosticSink&) = default;
  DiagnosticSink& operator=(const DiagnosticSink&) = default;
  ~DiagnosticSink() = default;
};

// The sink the calling thread files into: its own while a ScopedDiagnosticSink
// is alive on it, else the process-wide list.
DiagnosticSink& CurrentDiagnosticSink();

// Makes `sink` the calling thread's sink for the lifetime of this object.
class ScopedDiagnosticSink {
 public:
  explicit ScopedDiagnosticSink(DiagnosticSink& sink);
  ~ScopedDiagnosticSink();
  ScopedDiagnosticSink(const ScopedDiagnosticSink&) = delete;
  ScopedDiagnosticSink& operator=(const ScopedDiagnosticSink&) = delete;

 private:
  DiagnosticSink* previous_;
};

}  // namespace zav
