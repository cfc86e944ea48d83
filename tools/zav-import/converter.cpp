#include "converter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "cards/imported_model.h"
#include "diagnostic_format.h"
#include "file_import.h"
#include "input_discovery.h"
#include "model_completeness.h"
#include "model_facts.h"
#include "output_mode.h"
#include "output_writer.h"
#include "progress.h"
#include "report_writer.h"
#include "session/import_session.h"
#include "standard_input.h"
#include "summary.h"

namespace zav::cli {
namespace fs = std::filesystem;

namespace {

void Report(const std::string& message) {
  std::fputs(("zav-import: " + message + "\n").c_str(), stderr);
}

bool ReachesThreshold(FailOn failOn, DiagnosticSeverity severity) {
  switch (failOn) {
    case FailOn::Error:
      return severity == DiagnosticSeverity::Error;
    case FailOn::Warning:
      return severity != DiagnosticSeverity::Info;
    case FailOn::Never:
      break;
  }
  return false;
}

std::string FormatDiagnostic(DiagnosticFormat format, const std::string& file, const ParsedDiagnostic& diagnostic,
                             bool color) {
  switch (format) {
    case DiagnosticFormat::Native:
      return diagnostic.native;
    case DiagnosticFormat::Json:
      return FormatJsonDiagnostic(file, diagnostic);
    case DiagnosticFormat::Text:
      break;
  }
  return FormatTextDiagnostic(file, diagnostic, color);
}

// Colours go to a terminal only, and never when NO_COLOR holds a value.
bool UseColor(const Options& options) {
  if (options.diagnostics != DiagnosticFormat::Text) return false;
  switch (options.color) {
    case ColorMode::Always:
      return true;
    case ColorMode::Never:
      return false;
    case ColorMode::Auto:
      break;
  }
  const char* noColor = std::getenv("NO_COLOR");
  return (noColor == nullptr || *noColor == '\0') && IsTerminal(stderr);
}

// The files to convert, standard input among them as a temporary copy named
// "<stdin>". False, after reporting why, when standard input cannot be read.
bool PrepareInputs(const Options& options, StandardInputCopy& standardInput, Discovery& discovery) {
  std::vector<std::string> inputs = options.inputs;
  for (std::string& input : inputs) {
    if (input != kStandardInputArgument) continue;
    std::string error;
    if (!standardInput.Copy(stdin, error)) {
      Report(error);
      return false;
    }
    input = standardInput.path().string();
  }
  const fs::path output = options.output.empty() ? fs::path() : fs::path(options.output);
  discovery = DiscoverInputs(inputs, options.recursive, output, options.extensions);
  for (InputFile& file : discovery.files) {
    if (!standardInput.path().empty() && file.path == standardInput.path()) {
      file.name = kStandardInputName;
      file.reason = "standard input";
    }
  }
  return true;
}

// What converting one file gives the run: its summary line, and whether a
// diagnostic reached the --fail-on threshold or an output failed.
struct FileOutcome {
  FileSummary summary;
  bool thresholdReached = false;
  bool ioFailure = false;
};

// Prints the file's diagnostics and counts them into its summary.
void ReportDiagnostics(const Options& options, const std::vector<ParsedDiagnostic>& diagnostics, Progress& progress,
                       bool color, FileOutcome& outcome) {
  if (!options.quiet && !diagnostics.empty()) progress.Clear();
  for (const ParsedDiagnostic& diagnostic : diagnostics) {
    outcome.summary.stats.Count(diagnostic);
    if (ReachesThreshold(options.failOn, diagnostic.severity)) outcome.thresholdReached = true;
    if (!options.quiet) {
      const std::string line = FormatDiagnostic(options.diagnostics, outcome.summary.file, diagnostic, color);
      std::fwrite(line.data(), 1, line.size(), stderr);
    }
  }
}

FileOutcome ConvertFile(const Options& options, const InputFile& input, const fs::path& outputPath,
                        OutputMode& mode, ReportWriter* report, Progress& progress, bool color) {
  FileOutcome outcome;
  FileSummary& summary = outcome.summary;
  summary.file = input.name;

  FileImport import;
  std::string error;
  if (!import.Run(input.path, error)) {
    progress.Clear();
    Report("cannot read " + summary.file + ": " + error);
    outcome.ioFailure = true;
    summary.read = false;
    // An import that ran out of memory says so in a diagnostic.
    ReportDiagnostics(options, FileImport::TakeDiagnostics(), progress, color, outcome);
    if (report != nullptr) report->AddUnreadFile(input.name, error);
    return outcome;
  }

  ConvertedFile file;
  file.name = input.name;
  file.outputPath = outputPath;
  file.import = &import;
  file.models = import.Models();
  std::vector<const ImportedModel*> imported;
  imported.reserve(file.models.size());
  for (ZAV_MODEL model : file.models) imported.push_back(reinterpret_cast<const ImportedModel*>(model));
  const ModelLineMap lineMap(imported);
  std::vector<ParsedDiagnostic> diagnostics = FileImport::TakeDiagnostics();
  for (ParsedDiagnostic& diagnostic : diagnostics) {
    if (const int model = lineMap.ModelAt(diagnostic.line); model >= 0) {
      diagnostic.model = lineMap.Facts(static_cast<std::size_t>(model)).name;
    }
  }
  const std::vector<ModelCompleteness> completeness = lineMap.Completeness(diagnostics);
  file.lineMap = &lineMap;
  file.completeness = &completeness;

  if (!mode.Write(file, error)) {
    progress.Clear();
    Report(error);
    outcome.ioFailure = true;
  }

  for (const ImportedModel* model : imported) {
    if (model->origin == ImportedModel::Origin::Subcircuit) {
      ++summary.stats.subcircuits;
    } else {
      ++summary.stats.models;
    }
  }
  for (const ModelCompleteness& model : completeness) {
    if (model.Partial()) ++summary.stats.partial;
  }
  summary.stats.cardsCommented = CountCardsTurnedIntoComments(import.Session());
  summary.stats.renamed = CountRenamedParameters(import.Session());

  ReportDiagnostics(options, diagnostics, progress, color, outcome);
  if (report != nullptr && !report->AddFile(file, diagnostics, summary.stats, error)) {
    progress.Clear();
    Report(error);
    outcome.ioFailure = true;
  }
  return outcome;
}

}  // namespace

int RunConversion(const Options& options) {
  const bool toFiles = !options.output.empty();
  StandardInputCopy standardInput;
  Discovery discovery;
  if (!PrepareInputs(options, standardInput, discovery)) return 2;

  bool ioFailure = false;
  for (const InputProblem& problem : discovery.problems) {
    Report("cannot read " + problem.path + ": " + problem.reason);
    ioFailure = true;
  }
  if (discovery.files.empty() && discovery.problems.empty()) Report("no model files found");

  StandardOutput standardOutput;
  if (options.listFiles) {
    for (const InputFile& input : discovery.files) standardOutput.Write(input.name + "\t" + input.reason + "\n");
    return ioFailure ? 2 : 0;
  }

  bool directoryMode = false;
  if (toFiles) {
    std::error_code error;
    directoryMode = options.inputs.size() > 1 || discovery.anyDirectory || fs::is_directory(options.output, error);
  }
  const OutputPlan plan = PlanOutputs(discovery.files, options.output, directoryMode);
  if (!plan.problem.empty()) {
    Report(plan.problem);
    return 2;
  }

  std::unique_ptr<ReportWriter> report;
  if (!options.report.empty()) {
    report = std::make_unique<ReportWriter>();
    std::string error;
    if (!report->Open(options.report, discovery.files, error)) {
      Report(error);
      return 2;
    }
  }

  std::uintmax_t totalBytes = 0;
  for (const InputFile& input : discovery.files) totalBytes += input.size;
  Progress progress(options.progress, stderr, discovery.files.size(), totalBytes);
  const std::unique_ptr<OutputMode> mode = MakeOutputMode(options, discovery.files.size() > 1, standardOutput);
  const bool color = UseColor(options);

  std::vector<FileSummary> summaries;
  FileStats total;
  bool thresholdReached = false;
  for (std::size_t i = 0; i < discovery.files.size(); ++i) {
    const InputFile& input = discovery.files[i];
    const fs::path outputPath = toFiles ? fs::path(plan.paths[i]) : fs::path();
    FileOutcome outcome = ConvertFile(options, input, outputPath, *mode, report.get(), progress, color);
    thresholdReached = thresholdReached || outcome.thresholdReached;
    ioFailure = ioFailure || outcome.ioFailure;
    total.Add(outcome.summary.stats);
    summaries.push_back(std::move(outcome.summary));
    progress.Advance(input.size);
  }
  progress.Finish();
  if (report != nullptr) {
    for (const InputProblem& problem : discovery.problems) report->AddUnreadFile(problem.path, problem.reason);
    std::string error;
    if (!report->Finish(error)) {
      Report(error);
      ioFailure = true;
    }
  }

  if (options.summary) PrintSummary(stderr, summaries, total);

  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    Report("cannot write standard output");
    ioFailure = true;
  }
  if (ioFailure) return 2;
  return thresholdReached ? 1 : 0;
}

}  // namespace zav::cli
