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

// The simulator the models are translated for: the host's conventions, as the
// library's exports give them, or ngspice's.
enum class Target { Host, Ngspice };

// Colours in text diagnostics: Auto colours only a terminal, and only while
// NO_COLOR is not set to a value.
enum class ColorMode { Auto, Always, Never };

// The input name that stands for standard input, and the name it has in
// diagnostics and listings.
inline constexpr const char* kStandardInputArgument = "-";
inline constexpr const char* kStandardInputName = "<stdin>";

struct Options {
  // "-" stands for standard input; with no input named and standard input
  // not a terminal, the parser makes it the one input.
  std::vector<std::string> inputs;
  std::string output;  // empty: standard output
  bool recursive = false;
  // Extensions -r takes besides the known ones (".fam" or "fam").
  std::vector<std::string> extensions;
  bool listFiles = false;
  bool list = false;
  bool dump = false;
  bool summary = false;
  // Translate and report, but write no model text anywhere.
  bool check = false;
  Target target = Target::Host;
  // The folder of the run's HTML report, written in addition to the rest;
  // empty: no report.
  std::string report;
  bool quiet = false;
  DiagnosticFormat diagnostics = DiagnosticFormat::Text;
  FailOn failOn = FailOn::Error;
  ProgressMode progress = ProgressMode::Auto;
  ColorMode color = ColorMode::Auto;
  // Files imported side by side; 0: one per processor core.
  unsigned jobs = 0;
};

struct ParsedCommandLine {
  // False when the program is done after parsing: --help, --version or a
  // usage error, with `exitCode` to return.
  bool run = false;
  int exitCode = 0;
  Options options;
};

// Parses argv. Help and version text go to `out`, usage errors to `err`:
// "zav-import: " and what is wrong, then a pointer to --help; exit status 2.
// `stdinIsTerminal` decides what no input at all means: a usage error on a
// terminal, standard input otherwise.
ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err,
                                   bool stdinIsTerminal);

}  // namespace zav::cli
