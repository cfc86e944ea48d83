#include "converter.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cards/imported_model.h"
#include "diagnostic_format.h"
#include "file_import.h"
#include "input_discovery.h"
#include "model_facts.h"
#include "output_writer.h"
#include "progress.h"
#include "session/import_session.h"
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

std::string FormatDiagnostic(DiagnosticFormat format, const std::string& file, const ParsedDiagnostic& diagnostic) {
  switch (format) {
    case DiagnosticFormat::Native:
      return diagnostic.native;
    case DiagnosticFormat::Json:
      return FormatJsonDiagnostic(file, diagnostic);
    case DiagnosticFormat::Text:
      break;
  }
  return FormatTextDiagnostic(file, diagnostic);
}

// Writes everything zav-import sends to standard output and remembers
// whether the last byte ended a line, so that the texts of two files are
// never run together on one line.
class StandardOutput {
 public:
  void Write(std::string_view text) {
    if (text.empty()) return;
    std::fwrite(text.data(), 1, text.size(), stdout);
    endsLine_ = text.back() == '\n';
  }
  void StartFile() {
    if (!endsLine_) Write("\n");
  }

 private:
  bool endsLine_ = true;
};

}  // namespace

int RunConversion(const Options& options) {
  const bool toFiles = !options.output.empty();
  Discovery discovery = DiscoverInputs(options.inputs, options.recursive, toFiles ? fs::path(options.output) : fs::path());

  bool ioFailure = false;
  for (const InputProblem& problem : discovery.problems) {
    Report("cannot read " + problem.path + ": " + problem.reason);
    ioFailure = true;
  }

  if (discovery.files.empty() && discovery.problems.empty()) Report("no model files found");

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

  std::uintmax_t totalBytes = 0;
  for (const InputFile& input : discovery.files) totalBytes += input.size;
  Progress progress(options.progress, stderr, discovery.files.size(), totalBytes);

  const bool severalFiles = discovery.files.size() > 1;
  std::vector<FileSummary> summaries;
  FileStats total;
  bool thresholdReached = false;
  StandardOutput standardOutput;
  std::string text;
  std::string content;

  // Prints and counts the diagnostics of the file's import, and empties the list.
  auto reportDiagnostics = [&](FileSummary& summary) {
    const std::vector<ParsedDiagnostic> diagnostics = FileImport::TakeDiagnostics();
    if (!options.quiet && !diagnostics.empty()) progress.Clear();
    for (const ParsedDiagnostic& diagnostic : diagnostics) {
      summary.stats.Count(diagnostic);
      if (ReachesThreshold(options.failOn, diagnostic.severity)) thresholdReached = true;
      if (!options.quiet) {
        const std::string line = FormatDiagnostic(options.diagnostics, summary.file, diagnostic);
        std::fwrite(line.data(), 1, line.size(), stderr);
      }
    }
  };

  for (std::size_t i = 0; i < discovery.files.size(); ++i) {
    const InputFile& input = discovery.files[i];
    FileSummary summary;
    summary.file = input.path.string();

    FileImport import;
    std::string error;
    if (!import.Run(input.path, error)) {
      progress.Clear();
      Report("cannot read " + summary.file + ": " + error);
      ioFailure = true;
      summary.read = false;
      reportDiagnostics(summary);  // an import that ran out of memory says so
      summaries.push_back(std::move(summary));
      progress.Advance(input.size);
      continue;
    }

    const std::vector<ZAV_MODEL> models = import.Models();
    if (options.list) {
      for (ZAV_MODEL model : models) {
        const ModelFacts facts = DescribeModel(*reinterpret_cast<const ImportedModel*>(model));
        std::string line = severalFiles ? summary.file + "\t" : std::string();
        line += facts.name + "\t" + facts.kind + "\t" + std::to_string(facts.line) + "\n";
        standardOutput.Write(line);
      }
    } else if (options.dump) {
      if (severalFiles) standardOutput.Write("==> " + summary.file + " <==\n");
      std::fflush(stdout);
      import.Session().Dump(stdout);
      std::fflush(stdout);
    } else if (!toFiles) {
      standardOutput.StartFile();
      for (ZAV_MODEL model : models) standardOutput.Write(FileImport::ModelText(model, text));
    } else {
      content.clear();
      for (ZAV_MODEL model : models) content += FileImport::ModelText(model, text);
      if (!WriteFileAtomically(plan.paths[i], content, error)) {
        progress.Clear();
        Report(error);
        ioFailure = true;
      }
    }

    for (ZAV_MODEL model : models) {
      if (reinterpret_cast<const ImportedModel*>(model)->origin == ImportedModel::Origin::Subcircuit) {
        ++summary.stats.subcircuits;
      } else {
        ++summary.stats.models;
      }
    }
    summary.stats.cardsCommented = CountCardsTurnedIntoComments(import.Session());
    summary.stats.renamed = CountRenamedParameters(import.Session());

    reportDiagnostics(summary);

    total.Add(summary.stats);
    summaries.push_back(std::move(summary));
    progress.Advance(input.size);
  }
  progress.Finish();

  if (options.summary) PrintSummary(stderr, summaries, total);

  if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
    Report("cannot write standard output");
    ioFailure = true;
  }
  if (ioFailure) return 2;
  return thresholdReached ? 1 : 0;
}

}  // namespace zav::cli
