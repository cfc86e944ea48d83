#include "options.h"

#include <algorithm>
#include <array>
#include <optional>
#include <sstream>

#include <CLI/CLI.hpp>

#include "option_table.h"

#ifndef ZAV_VERSION
#define ZAV_VERSION "unknown"
#endif

namespace zav::cli {
namespace {

constexpr const char* kDescription =
    "zav-import: translate PSpice-dialect model files (.MODEL cards and .SUBCKT blocks) for the host\n"
    "simulator, and report what had to change.";

constexpr const char* kFooter = R"text(Output:
  Without -o the translated models of every input go to standard output, one after the
  other in file order, each exactly as the library delivers it. With -o and one input
  file, PATH is the output file; with several inputs, or -r, PATH is a directory that
  mirrors the input tree. Files are written under a temporary name and renamed into
  place when complete. An output that would replace an input is refused.

  INPUT "-", or no INPUT at all while standard input is not a terminal, reads the model
  file from standard input (through a temporary file, removed whatever happens); its
  diagnostics name it <stdin>. --check translates and reports as usual but writes no
  model text anywhere: the way to vet a vendor library in CI, with -r for a whole tree.

  -r searches directories for model files: those with a known extension (.lib .mod .cir
  .sub .inc .txt .ckt .spi .lb .fam .phy .mdl .sp .sp3 .net, or one given with --ext, in
  any letter case), and any other file whose first 8 KB hold a .MODEL or .SUBCKT card at
  the start of a line and no NUL byte. --list-files prints what it would take, and why.
  Files named on the command line are read whatever their name.

Diagnostics (standard error, each under the input file it belongs to):
  text    FILE:LINE: error: message   ("info", "warning" or "error"; a message that spans
          several lines is folded onto one; FILE: error: message when it has no line).
          --color=auto colours them when standard error is a terminal and NO_COLOR is
          not set, like compilers do; always and never force it
  native  the library's own diagnostic texts, exactly
  json    one object per line: {"file", "line" (null without one), "model" (the model
          whose lines hold it, null for none), "severity", "code" (message number, null
          when unknown), "message"}

--target ngspice translates for the open simulator ngspice instead of the host: what
ngspice reads as the dialect writes it stays as written (.PARAM and .FUNC statements,
{...} expressions, VALUE and TABLE sources, parameters ngspice knows), and what it reads
differently is rewritten, each change with a diagnostic at its line as for the host.
The library's exports always translate for the host.

--list prints one line per model instead of its text: NAME, KIND (the model type as
written, or "subckt"), the LINE where it starts and whether it is complete, separated by
tabs; with more than one input file the FILE comes first. A model is "partial (N cards,
M parameters commented out)" when cards of its subcircuit or parameters of its model cards
had to be turned into comments: it may no longer do what the original did.

--summary prints, per file and in total, the models and subcircuits found, the cards
turned into comments, the diagnostics by severity, and the model parameters renamed,
moved to instances (counted once per element that receives one) and commented out, and
the partial models. Renames count the parameters written on a card; parameters a card
inherits through an AKO: reference are not counted as renamed.

--report DIR writes, in addition to whatever else the run writes, a report to review in a web
browser: DIR/index.html lists every file with the counts of --summary, sortable by any
column; DIR/files/ holds a page per file with its input beside its translated output, line
by line, changed lines marked, each diagnostic under its line, the models with their
completeness down the side, and filters by severity and for changed lines. The pages load
nothing from anywhere. With --check the report is all that is written.

Exit status: 0 success; 1 a diagnostic at or above --fail-on was filed; 2 usage error, an
input that cannot be read, or an output that cannot be written.

Examples:
  zav-import examples/mixed_library.lib           translated models to the terminal
  zav-import -q vendor.lib > vendor_host.lib      models only, no diagnostics
  zav-import --list opamps.lib                    what the file defines, where, and what it lost
  zav-import -r --ext .x,.y --list-files vendor   which files -r takes, and why
  zav-import -r vendor_libs -o converted --summary
                                                  convert a whole tree, print totals
  zav-import --diagnostics=json --fail-on=warning a.lib b.mod 2> report.jsonl
  cat vendor.lib | zav-import > vendor_host.lib   a filter
  zav-import --check -r vendor_libs --summary --fail-on=warning
                                                  vet a tree in CI: status 1 on a warning
  zav-import -r vendor_libs -o converted --report review
                                                  convert, then open review/index.html

See also: man zav-import. cmake --install (or the Debian package from cpack -G DEB)
installs zav-import with its manual page and bash completion, the library libzav with
include/zav.h, find_package(zav CONFIG) and pkg-config files, and the Python module zav,
which gives the same models and diagnostics to Python: zav.import_file("vendor.lib").
)text";

// Options that cannot be given together, and why.
struct Conflict {
  std::string_view first;
  std::string_view second;
};

constexpr std::array<Conflict, 11> kConflicts = {{
    {"--list", "--dump"},
    {"--list", "--output"},
    {"--dump", "--output"},
    {"--list-files", "--list"},
    {"--list-files", "--dump"},
    {"--check", "--output"},
    {"--check", "--list"},
    {"--check", "--dump"},
    {"--check", "--list-files"},
    {"--list-files", "--report"},
    {"--progress", "--no-progress"},
}};

template <typename Value, std::size_t N>
Value FromChoice(const std::string& text, const std::array<Value, N>& values, std::string_view option) {
  const OptionSpec* row = FindOption(option);
  for (std::size_t i = 0; i < N && i < row->choices.size(); ++i) {
    if (row->choices[i] == text) return values[i];
  }
  return values[0];
}

ParsedCommandLine UsageError(std::FILE* err, const std::string& problem) {
  const std::string text = "zav-import: " + problem + "\nRun 'zav-import --help' to see every option and its values.\n";
  std::fputs(text.c_str(), err);
  ParsedCommandLine result;
  result.exitCode = 2;
  return result;
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err,
                                   bool stdinIsTerminal) {
  ParsedCommandLine result;
  Options& options = result.options;

  // CLI11 reads the command line once it is known to be well formed; its own
  // messages name its internals rather than the values a user may give.
  const std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
  if (std::optional<std::string> problem = FindOptionError(args)) return UsageError(err, *problem);

  CLI::App app(kDescription, "zav-import");
  app.footer(kFooter);
  app.set_version_flag("--version", std::string("zav-import ") + ZAV_VERSION);

  app.add_option("INPUT", options.inputs, "Model file; with -r a directory to search; - for standard input");
  app.add_option("-o,--output", options.output, "Output file (one input) or directory (several inputs, -r)")
      ->option_text("PATH")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("-r,--recursive", options.recursive, "Search directories for model files");
  app.add_option("--ext", options.extensions, "Also take files with these extensions in directories (-r)")
      ->delimiter(',')
      ->allow_extra_args(false)  // "--ext x DIR": DIR is an input, not another extension
      ->option_text("EXT[,EXT...]");
  app.add_flag("--list-files", options.listFiles, "Print the files -r would take, and why, and stop");
  app.add_flag("--list", options.list, "List the models instead of writing their texts");
  app.add_flag("--dump", options.dump, "Write a debug listing of each import instead");
  app.add_flag("--check", options.check, "Translate and report, but write no model text (vets a library)");
  std::string target = "host";
  app.add_option("--target", target, "Translate for this simulator: host (default) or ngspice")
      ->option_text("host|ngspice")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("--summary", options.summary, "Print counts per file and in total on standard error");
  app.add_option("--report", options.report, "Also write an HTML report of the run (input beside output) into DIR")
      ->option_text("DIR")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  app.add_flag("-q,--quiet", options.quiet, "Print no diagnostics");

  std::string format = "text";
  app.add_option("--diagnostics", format, "Diagnostic format: text (default), native or json")
      ->option_text("text|native|json")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  std::string failOn = "error";
  app.add_option("--fail-on", failOn, "Exit with 1 on a diagnostic of this severity or worse (default error)")
      ->option_text("error|warning|never")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  std::string color = "auto";
  app.add_option("--color", color, "Colour text diagnostics: auto (default), always or never")
      ->option_text("auto|always|never")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

  bool progress = false;
  bool noProgress = false;
  app.add_flag("--progress", progress, "Show a progress bar on standard error even when it is not a terminal");
  app.add_flag("--no-progress", noProgress, "Never show a progress bar");
  app.add_option("-j,--jobs", options.jobs, "Import N files at once (default: one per processor core)")
      ->option_text("N")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

  std::ostringstream outText;
  std::ostringstream errText;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error, outText, errText);
    std::fputs(outText.str().c_str(), out);
    if (code == 0) {
      result.exitCode = 0;
      return result;
    }
    return UsageError(err, error.what());
  }

  for (const Conflict& conflict : kConflicts) {
    if (app.get_option(std::string(conflict.first))->count() > 0 &&
        app.get_option(std::string(conflict.second))->count() > 0) {
      return UsageError(err, std::string(conflict.first) + " and " + std::string(conflict.second) +
                                 " cannot be used together");
    }
  }

  const auto standardInputs = std::count(options.inputs.begin(), options.inputs.end(), kStandardInputArgument);
  if (options.inputs.empty()) {
    if (stdinIsTerminal) {
      return UsageError(err, "no input: name a model file, a directory with -r, or - to read standard input");
    }
    options.inputs.push_back(kStandardInputArgument);
  } else if (standardInputs > 1) {
    return UsageError(err, "standard input (-) can be read only once");
  } else if (standardInputs == 1 && options.inputs.size() > 1 && !options.output.empty()) {
    return UsageError(err, "-o: standard input (-) cannot be written into an output directory; convert it alone");
  }

  constexpr std::array<DiagnosticFormat, 3> kFormatValues = {DiagnosticFormat::Text, DiagnosticFormat::Native,
                                                             DiagnosticFormat::Json};
  constexpr std::array<FailOn, 3> kLevelValues = {FailOn::Error, FailOn::Warning, FailOn::Never};
  constexpr std::array<ColorMode, 3> kColorValues = {ColorMode::Auto, ColorMode::Always, ColorMode::Never};
  options.diagnostics = FromChoice(format, kFormatValues, "--diagnostics");
  options.failOn = FromChoice(failOn, kLevelValues, "--fail-on");
  options.color = FromChoice(color, kColorValues, "--color");
  constexpr std::array<Target, 2> kTargetValues = {Target::Host, Target::Ngspice};
  options.target = FromChoice(target, kTargetValues, "--target");
  options.progress = progress ? ProgressMode::Always : noProgress ? ProgressMode::Never : ProgressMode::Auto;
  result.run = true;
  return result;
}

}  // namespace zav::cli
