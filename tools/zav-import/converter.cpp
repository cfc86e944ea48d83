#include "converter.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "cards/imported_model.h"
#include "diagnostic_format.h"
#include "file_import.h"
#include "input_discovery.h"
#include "model_completeness.h"
#include "model_facts.h"
#include "output_writer.h"
#include "progress.h"
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
  const bool color = UseColor(options);

  // Standard input goes through a temporary file, named "<stdin>" wherever
  // a file name is shown.
  StandardInputCopy standardInput;
  std::vector<std::string> inputs = options.inputs;
  for (std::string& input : inputs) {
    if (input != kStandardInputArgument) continue;
    std::string error;
    if (!standardInput.Copy(stdin, error)) {
      Report(error);
      return 2;
    }
    input = standardInput.path().string();
  }
  Discovery discovery = DiscoverInputs(inputs, options.recursive, toFiles ? fs::path(options.output) : fs::path(),
                                       options.extensions);
  for (InputFile& file : discovery.files) {
    if (!standardInput.path().empty() && file.path == standardInput.path()) {
      file.name = kStandardInputName;
      file.reason = "standard input";
    }
  }

  bool ioFailure = false;
  for (const InputProblem& problem : discovery.problems) {
    Report("cannot read " + problem.path + ": " + problem.reason);
    ioFailure = true;
  }

  if (discovery.files.empty() && discovery.problems.empty()) Report("no model files found");

  if (options.listFiles) {
    StandardOutput standardOutput;
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

  for (std::size_t i = 0; i < discovery.files.size(); ++i) {
    const InputFile& input = discovery.files[i];
    FileSummary summary;
    summary.file = input.name;

    FileImport import;
    std::string error;
    if (!import.Run(input.path, error)) {
      progress.Clear();
      Report("cannot read " + summary.file + ": " + error);
      ioFailure = true;
      summary.read = false;
      summaries.push_back(std::move(summary));
      progress.Advance(input.size);
      continue;
    }

    const std::vector<ZAV_MODEL> models = import.Models();
    std::vector<const ImportedModel*> imported;
    imported.reserve(models.size());
    for (ZAV_MODEL model : models) imported.push_back(reinterpret_cast<const ImportedModel*>(model));
    const ModelLineMap lineMap(imported);
    std::vector<ParsedDiagnostic> diagnostics = FileImport::TakeDiagnostics();
    for (ParsedDiagnostic& diagnostic : diagnostics) {
      if (const int model = lineMap.ModelAt(diagnostic.line); model >= 0) {
        diagnostic.model = lineMap.Facts(static_cast<std::size_t>(model)).name;
      }
    }
    const std::vector<ModelCompleteness> completeness = lineMap.Completeness(diagnostics);
    for (const ModelCompleteness& model : completeness) {
      if (model.Partial()) ++summary.stats.partial;
    }

    if (options.list) {
      for (std::size_t m = 0; m < lineMap.size(); ++m) {
        const ModelFacts& facts = lineMap.Facts(m);
        std::string line = severalFiles ? summary.file + "\t" : std::string();
        line += facts.name + "\t" + facts.kind + "\t" + std::to_string(facts.line) + "\t" +
                completeness[m].Describe() + "\n";
        standardOutput.Write(line);
      }
    } else if (options.dump) {
      if (severalFiles) standardOutput.Write("==> " + summary.file + " <==\n");
      std::fflush(stdout);
      import.Session().Dump(stdout);
      std::fflush(stdout);
    } else if (options.check) {
      // Vetting only: the texts are not even built.
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

    if (!options.quiet && !diagnostics.empty()) progress.Clear();
    for (const ParsedDiagnostic& diagnostic : diagnostics) {
      summary.stats.Count(diagnostic);
      if (ReachesThreshold(options.failOn, diagnostic.severity)) thresholdReached = true;
      if (!options.quiet) {
        const std::string line = FormatDiagnostic(options.diagnostics, summary.file, diagnostic, color);
        std::fwrite(line.data(), 1, line.size(), stderr);
      }
    }

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
