#include "converter.h"

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "cards/card_store.h"
#include "diagnostics/diagnostic_batch.h"
#include "cards/imported_model.h"
#include "diagnostics/diagnostic.h"
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

// One input file on its way through the run: imported and prepared (on any
// thread), then written out in input order (on the main thread).
struct FileWork {
  const InputFile* input = nullptr;
  ConvertedFile file;
  std::unique_ptr<FileImport> import;  // none when the file could not be read
  std::string readError;
  std::string writeError;       // from the mode's Prepare
  std::string diagnosticText;   // what goes to standard error, formatted
  std::vector<ParsedDiagnostic> parsed;  // for the report
  bool hasDiagnostics = false;
  bool read = false;
  FileSummary summary;
  bool thresholdReached = false;
  std::unique_ptr<ModelLineMap> lineMap;
  std::vector<ModelCompleteness> completeness;

  // Lets the import go once nothing written later reads it.
  void ReleaseImport() {
    file.import = nullptr;
    file.models = std::vector<ZAV_MODEL>();
    file.lineMap = nullptr;
    file.completeness = nullptr;
    completeness = std::vector<ModelCompleteness>();
    lineMap.reset();
    import.reset();
  }
};

// Counts the file's diagnostics into its summary, and formats them for
// standard error (and, for the report, keeps them taken apart).
void CountAndFormatDiagnostics(const Options& options, bool color, FileWork& work) {
  const DiagnosticBatch& diagnostics = work.import->Diagnostics();
  work.hasDiagnostics = !diagnostics.empty();
  const bool reported = !options.report.empty();
  for (const Diagnostic diagnostic : diagnostics) {
    const DiagnosticSeverity severity = SeverityOf(diagnostic.severity);
    work.summary.stats.Count(severity, static_cast<int>(diagnostic.code));
    if (ReachesThreshold(options.failOn, severity)) work.thresholdReached = true;
    if (options.quiet && !reported) continue;
    ParsedDiagnostic parsed = ParseDiagnostic(diagnostic);
    if (work.lineMap != nullptr) {
      if (const int model = work.lineMap->ModelAt(parsed.line); model >= 0) {
        parsed.model = work.lineMap->Facts(static_cast<std::size_t>(model)).name;
      }
    }
    if (!options.quiet) work.diagnosticText += FormatDiagnostic(options.diagnostics, work.summary.file, parsed, color);
    if (reported) work.parsed.push_back(std::move(parsed));
  }
}

// Everything about one file that does not depend on the files before it:
// the import, what the output mode can do ahead, the diagnostics formatted
// and counted. Touches nothing shared, so files are prepared side by side.
void PrepareFile(const Options& options, OutputMode& mode, bool color, FileWork& work) {
  FileSummary& summary = work.summary;
  summary.file = work.input->name;
  // The texts of the diagnostics are made only when they are printed or
  // reported.
  const bool reported = !options.report.empty();
  FileImport::Settings settings;
  settings.ownDiagnostics = true;
  settings.diagnosticTexts = !options.quiet || reported;
  settings.keepEditedTokens = reported;
  settings.target = options.target == Target::Ngspice ? TranslationTarget::Ngspice : TranslationTarget::Host;
  work.import = std::make_unique<FileImport>(settings);
  work.read = work.import->Run(work.input->path, work.readError);
  if (!work.read) {
    // An import that ran out of memory says so in a diagnostic.
    summary.read = false;
    CountAndFormatDiagnostics(options, color, work);
    return;
  }
  FileImport& import = *work.import;
  ConvertedFile& file = work.file;
  file.name = work.input->name;
  file.import = &import;
  file.models = import.Models();
  const DiagnosticBatch& diagnostics = import.Diagnostics();

  // The models' facts and completeness are read from the session only for
  // what needs them: the model list, the model of each JSON diagnostic, the
  // summary's partial models and the report.
  const bool jsonLines = !options.quiet && options.diagnostics == DiagnosticFormat::Json;
  if (mode.NeedsModelFacts() || options.summary || jsonLines || reported) {
    std::vector<const ImportedModel*> imported;
    imported.reserve(file.models.size());
    for (ZAV_MODEL model : file.models) imported.push_back(reinterpret_cast<const ImportedModel*>(model));
    work.lineMap = std::make_unique<ModelLineMap>(imported);
    work.completeness = work.lineMap->Completeness(diagnostics);
    file.lineMap = work.lineMap.get();
    file.completeness = &work.completeness;
  }

  if (!mode.Prepare(file, work.writeError)) work.file.prepared.clear();

  for (ZAV_MODEL handle : file.models) {
    if (reinterpret_cast<const ImportedModel*>(handle)->origin == ImportedModel::Origin::Subcircuit) {
      ++summary.stats.subcircuits;
    } else {
      ++summary.stats.models;
    }
  }
  if (options.summary || reported) {
    for (const ModelCompleteness& model : work.completeness) {
      if (model.Partial()) ++summary.stats.partial;
    }
    const ImportStatistics& statistics = import.Session().statistics();
    summary.stats.cardsCommented = statistics.cardsTurnedIntoComments;
    summary.stats.renamed = statistics.renamedParameters;
  }

  CountAndFormatDiagnostics(options, color, work);
  // When what is left for the file's turn in input order reads only the
  // texts made here, the import goes now, on the thread that made it. Held
  // until that turn, it would keep a file's memory from the next file this
  // thread takes, and a thread that runs ahead of a large file would touch
  // fresh pages for each small file after it.
  if (!reported && !mode.WriteReadsImport()) work.ReleaseImport();
}

// The file's part of the run's output, in input order.
void WriteFile(const Options& options, OutputMode& mode, ReportWriter* report, Progress& progress, FileWork& work,
               bool& ioFailure) {
  if (!work.read) {
    progress.Clear();
    Report("cannot read " + work.summary.file + ": " + work.readError);
    ioFailure = true;
    if (!options.quiet && work.hasDiagnostics) progress.Clear();
    if (!work.diagnosticText.empty()) std::fwrite(work.diagnosticText.data(), 1, work.diagnosticText.size(), stderr);
    if (report != nullptr) report->AddUnreadFile(work.input->name, work.readError);
    return;
  }
  std::string error = work.writeError;
  if (error.empty()) mode.Write(work.file, error);
  if (!error.empty()) {
    progress.Clear();
    Report(error);
    ioFailure = true;
  }
  if (!options.quiet && work.hasDiagnostics) progress.Clear();
  if (!work.diagnosticText.empty()) std::fwrite(work.diagnosticText.data(), 1, work.diagnosticText.size(), stderr);
  error.clear();
  if (report != nullptr && !report->AddFile(work.file, work.parsed, work.summary.stats, error)) {
    progress.Clear();
    Report(error);
    ioFailure = true;
  }
}

// How far the preparing threads may run ahead of the file being written,
// in bytes of input: a prepared file holds its import (a few times its size)
// until it is written. Small files are many and uneven in size, and a thread
// that may take only the next one or two of them waits on the largest; a
// budget lets it go on with others meanwhile.
constexpr std::uintmax_t kAheadBytes = 64u << 20;

// Prepares the files on `jobs` threads (the calling thread among them), at
// most `jobs` files ahead of the one being written or more while the files
// taken but not written stay within kAheadBytes, and hands each to `write`
// in input order. There is no thread that only writes: whichever thread
// finds the next file in order prepared writes it, and the ones after it
// that are ready, so that a file is mostly written and released by the
// thread that prepared it and no thread is woken just to write.
template <typename Prepare, typename Write>
void RunInOrder(std::vector<FileWork>& works, unsigned jobs, Prepare&& prepare, Write&& write) {
  if (jobs <= 1 || works.size() <= 1) {
    for (FileWork& work : works) {
      prepare(work);
      write(work);
      work = FileWork();  // its session and texts go now
    }
    return;
  }
  std::mutex mutex;
  std::condition_variable written;  // another file written: more may be taken
  // Per file: 0 while it is not prepared, then 1 + the number of the
  // thread that prepared it.
  std::vector<unsigned> preparedBy(works.size(), 0);
  // Files written by another thread than the one that prepared them, left
  // for that one to release: an import's memory goes back to the heap of
  // the thread that took it, and two threads do not contend for one heap.
  std::vector<std::vector<FileWork>> toRelease(jobs);
  std::size_t next = 0;          // the next file to prepare
  std::size_t writtenCount = 0;  // files written so far
  bool writing = false;          // a thread is writing (there is one at a time)
  std::uintmax_t heldBytes = 0;  // input bytes of the files taken, not yet written
  const std::size_t window = jobs;
  auto inputSize = [&](std::size_t index) { return works[index].input != nullptr ? works[index].input->size : 0; };
  auto mayTake = [&] {
    return next < writtenCount + window || heldBytes + inputSize(next) <= kAheadBytes;
  };
  auto run = [&](unsigned me) {
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
      if (!writing && writtenCount < works.size() && preparedBy[writtenCount] != 0) {
        // Writes every file that is ready in order; one that another thread
        // finishes meanwhile is found here before the role is given up.
        writing = true;
        while (writtenCount < works.size() && preparedBy[writtenCount] != 0) {
          const std::size_t index = writtenCount;
          const bool mine = preparedBy[index] == me + 1;
          lock.unlock();
          write(works[index]);
          const std::uintmax_t size = inputSize(index);
          if (mine) works[index] = FileWork();
          lock.lock();
          if (!mine) toRelease[preparedBy[index] - 1].push_back(std::move(works[index]));
          writtenCount = index + 1;
          heldBytes -= size;
          written.notify_all();
        }
        writing = false;
        continue;
      }
      if (!toRelease[me].empty()) {
        std::vector<FileWork> releasing;
        releasing.swap(toRelease[me]);
        lock.unlock();
        releasing.clear();
        lock.lock();
        continue;
      }
      if (next >= works.size()) return;  // what is left is being prepared and written by others
      if (!mayTake()) {
        written.wait(lock);
        continue;
      }
      const std::size_t index = next++;
      heldBytes += inputSize(index);
      lock.unlock();
      prepare(works[index]);
      lock.lock();
      preparedBy[index] = me + 1;
    }
  };
  std::vector<std::thread> threads;
  for (unsigned t = 1; t < jobs; ++t) threads.emplace_back(run, t);
  run(0);
  for (std::thread& thread : threads) thread.join();
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
  // Several files are imported side by side; what each writes still comes
  // out in input order, the same bytes as one at a time.
  unsigned jobs = options.jobs;
  if (jobs == 0) jobs = std::max(1u, std::thread::hardware_concurrency());
  // The dump writes from the session itself: it keeps to one file at a time.
  if (options.dump) jobs = 1;
  const bool sideBySide = jobs > 1 && discovery.files.size() > 1;
  const std::unique_ptr<OutputMode> mode =
      MakeOutputMode(options, discovery.files.size() > 1, sideBySide, standardOutput);
  const bool color = UseColor(options);

  std::vector<FileWork> works(discovery.files.size());
  for (std::size_t i = 0; i < works.size(); ++i) {
    works[i].input = &discovery.files[i];
    if (toFiles) works[i].file.outputPath = fs::path(plan.paths[i]);
  }

  std::vector<FileSummary> summaries;
  summaries.reserve(works.size());
  FileStats total;
  bool thresholdReached = false;
  RunInOrder(
      works, jobs, [&](FileWork& work) { PrepareFile(options, *mode, color, work); },
      [&](FileWork& work) {
        WriteFile(options, *mode, report.get(), progress, work, ioFailure);
        thresholdReached = thresholdReached || work.thresholdReached;
        total.Add(work.summary.stats);
        summaries.push_back(std::move(work.summary));
        progress.Advance(work.input->size);
      });
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
