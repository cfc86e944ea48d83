// The command line of zav-import.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace zav::cli {

enum class DiagnosticFormat { Text, Native, Json };

// The least severity that makes the run exit with status 1.
enum class FailOn { Error, Warning, Never };

enum class ProgressMode { Auto, Always, Never };

struct Options {
  std::vector<std::string> inputs;
  std::string output;  // empty: standard output
  bool recursive = false;
  // Extensions -r takes besides the known ones (".fam" or "fam").
  std::vector<std::string> extensions;
  bool listFiles = false;
  bool list = false;
  bool dump = false;
  bool summary = false;
  bool quiet = false;
  DiagnosticFormat diagnostics = DiagnosticFormat::Text;
  FailOn failOn = FailOn::Error;
  ProgressMode progress = ProgressMode::Auto;
};

struct ParsedCommandLine {
  // False when the program is done after parsing: --help, --version or a
  // usage error, with `exitCode` to return.
  bool run = false;
  int exitCode = 0;
  Options options;
};

// Parses argv. Help and version text go to `out`, usage errors to `err`.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err);

}  // namespace zav::cli
