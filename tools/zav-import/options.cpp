#include "options.h"

#include <map>
#include <sstream>

#include <CLI/CLI.hpp>

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

  -r searches directories for model files: those with a known extension (.lib .mod .cir
  .sub .inc .txt .ckt .spi .lb .fam .phy .mdl .sp .sp3 .net, or one given with --ext, in
  any letter case), and any other file whose first 8 KB hold a .MODEL or .SUBCKT card at
  the start of a line and no NUL byte. --list-files prints what it would take, and why.
  Files named on the command line are read whatever their name.

Diagnostics (standard error, each under the input file it belongs to):
  text    FILE:LINE: error: message   ("info", "warning" or "error"; a message that spans
          several lines is folded onto one; FILE: error: message when it has no line)
  native  the library's own diagnostic texts, exactly
  json    one object per line: {"file", "line" (null without one), "model" (the model
          whose lines hold it, null for none), "severity", "code" (message number, null
          when unknown), "message"}

--list prints one line per model instead of its text: NAME, KIND (the model type as
written, or "subckt"), the LINE where it starts and whether it is complete, separated by
tabs; with more than one input file the FILE comes first. A model is "partial (N cards,
M parameters commented out)" when cards of its subcircuit or parameters of its model cards
had to be turned into comments: it may no longer do what the original did.

--summary prints, per file and in total, the models and subcircuits found, the cards
turned into comments, the diagnostics by severity, and the model parameters renamed,
moved to instances (counted once per element that receives one) and commented out, and
the partial models.
Renames count the parameters written on a card; parameters a card inherits through an
AKO: reference are not counted as renamed.

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
)text";

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::FILE* out, std::FILE* err) {
  ParsedCommandLine result;
  Options& options = result.options;

  CLI::App app(kDescription, "zav-import");
  app.footer(kFooter);
  app.set_version_flag("--version", std::string("zav-import ") + ZAV_VERSION);

  app.add_option("INPUT", options.inputs, "Model file, or with -r a directory to search")->required();
  CLI::Option* output = app.add_option("-o,--output", options.output,
                                       "Output file (one input) or directory (several inputs, -r)")
                             ->option_text("PATH");
  app.add_flag("-r,--recursive", options.recursive, "Search directories for model files");
  app.add_option("--ext", options.extensions, "Also take files with these extensions in directories (-r)")
      ->delimiter(',')
      ->allow_extra_args(false)  // "--ext x DIR": DIR is an input, not another extension
      ->option_text("EXT[,EXT...]");
  CLI::Option* listFiles =
      app.add_flag("--list-files", options.listFiles, "Print the files -r would take, and why, and stop");
  CLI::Option* list = app.add_flag("--list", options.list, "List the models instead of writing their texts");
  CLI::Option* dump = app.add_flag("--dump", options.dump, "Write a debug listing of each import instead");
  app.add_flag("--summary", options.summary, "Print counts per file and in total on standard error");
  app.add_flag("-q,--quiet", options.quiet, "Print no diagnostics");

  const std::map<std::string, DiagnosticFormat> formats = {
      {"text", DiagnosticFormat::Text}, {"native", DiagnosticFormat::Native}, {"json", DiagnosticFormat::Json}};
  app.add_option("--diagnostics", options.diagnostics, "Diagnostic format: text (default), native or json")
      ->transform(CLI::CheckedTransformer(formats))
      ->option_text("FORMAT");

  const std::map<std::string, FailOn> levels = {
      {"error", FailOn::Error}, {"warning", FailOn::Warning}, {"never", FailOn::Never}};
  app.add_option("--fail-on", options.failOn, "Exit with 1 on a diagnostic of this severity or worse (default error)")
      ->transform(CLI::CheckedTransformer(levels))
      ->option_text("error|warning|never");

  bool progress = false;
  bool noProgress = false;
  CLI::Option* progressOption =
      app.add_flag("--progress", progress, "Show a progress bar on standard error even when it is not a terminal");
  app.add_flag("--no-progress", noProgress, "Never show a progress bar")->excludes(progressOption);

  list->excludes(dump);
  listFiles->excludes(list);
  listFiles->excludes(dump);
  output->excludes(list);
  output->excludes(dump);

  std::ostringstream outText;
  std::ostringstream errText;
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    const int code = app.exit(error, outText, errText);
    std::fputs(outText.str().c_str(), out);
    std::fputs(errText.str().c_str(), err);
    result.exitCode = code == 0 ? 0 : 2;
    return result;
  }
  options.progress = progress ? ProgressMode::Always : noProgress ? ProgressMode::Never : ProgressMode::Auto;
  result.run = true;
  return result;
}

}  // namespace zav::cli
