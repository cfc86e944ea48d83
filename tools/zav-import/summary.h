// The per-file and total counts printed by --summary.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "diagnostic_format.h"

namespace zav::cli {

struct FileStats {
  int models = 0;       // model cards in the model list
  int subcircuits = 0;  // subcircuit blocks in the model list
  int cardsCommented = 0;
  int infos = 0;
  int warnings = 0;
  int errors = 0;
  int renamed = 0;
  int moved = 0;             // parameters added to instances, one per element
  int paramsCommented = 0;   // parameters commented out in model cards
  int partial = 0;           // models with cards or parameters commented out

  void Add(const FileStats& other);
  // Counts the diagnostic by severity, and the parameter moves and
  // comment-outs it reports (not the partial models: the caller counts them).
  void Count(const ParsedDiagnostic& diagnostic) { Count(diagnostic.severity, diagnostic.code); }
  void Count(DiagnosticSeverity severity, int code);
};

struct FileSummary {
  std::string file;
  FileStats stats;
  bool read = true;  // false for an input that could not be read
};

void PrintSummary(std::FILE* out, const std::vector<FileSummary>& files, const FileStats& total);

}  // namespace zav::cli
