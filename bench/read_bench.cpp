// Throughput of the first stages of an import: reading a file into lines,
// grouping the lines into cards, and tokenizing every card; and, for scale,
// of the whole import. Inputs are the largest corpus file and generated
// libraries of 5 and 50 MB (the second shows how time grows with size).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "diagnostics/diagnostic_list.h"
#include "generate_library.h"
#include "session/import_session.h"

namespace {

namespace fs = std::filesystem;

std::string LargestCorpusFile() {
  std::string best;
  std::uintmax_t bestSize = 0;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(ZAV_CORPUS_DIR, error)) {
    if (!entry.is_regular_file()) continue;
    if (entry.file_size() > bestSize) {
      bestSize = entry.file_size();
      best = entry.path().string();
    }
  }
  return best;
}

// Generated inputs are written once per process into the temporary folder.
const std::string& GeneratedFile(std::size_t megabytes, bool crlf) {
  static std::map<std::pair<std::size_t, bool>, std::string> files;
  auto& path = files[{megabytes, crlf}];
  if (path.empty()) {
    path = (fs::temp_directory_path() / ("zav-bench-" + std::to_string(megabytes) + (crlf ? "-crlf" : "") + ".lib"))
               .string();
    zav::bench::LibraryOptions options;
    options.targetBytes = megabytes * 1000 * 1000;
    options.crlf = crlf;
    if (!zav::bench::WriteLibrary(path, options)) path.clear();
  }
  return path;
}

void SetThroughput(benchmark::State& state, std::uintmax_t bytes) {
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6 * static_cast<double>(state.iterations()),
                                              benchmark::Counter::kIsRate);
}

enum class Stage { Read, ReadAndTokenize, Import };

void Run(benchmark::State& state, const std::string& path, Stage stage) {
  if (path.empty()) {
    state.SkipWithError("input not available");
    return;
  }
  const std::uintmax_t bytes = fs::file_size(path);
  for (auto _ : state) {
    {
      zav::ImportSession session;
      const zav::ImportSession::Stage last = stage == Stage::Import            ? zav::ImportSession::Stage::Resolve
                                             : stage == Stage::ReadAndTokenize ? zav::ImportSession::Stage::Parse
                                                                               : zav::ImportSession::Stage::Read;
      session.Import(path.c_str(), last);
      benchmark::DoNotOptimize(session.lines().size());
    }
    state.PauseTiming();
    zav::TheDiagnosticList().Clear();
    state.ResumeTiming();
  }
  SetThroughput(state, bytes);
}

void BM_Read_Corpus(benchmark::State& state) { Run(state, LargestCorpusFile(), Stage::Read); }
void BM_ReadAndTokenize_Corpus(benchmark::State& state) { Run(state, LargestCorpusFile(), Stage::ReadAndTokenize); }
void BM_Import_Corpus(benchmark::State& state) { Run(state, LargestCorpusFile(), Stage::Import); }

void BM_Read_Generated(benchmark::State& state) {
  Run(state, GeneratedFile(static_cast<std::size_t>(state.range(0)), state.range(1) != 0), Stage::Read);
}
void BM_ReadAndTokenize_Generated(benchmark::State& state) {
  Run(state, GeneratedFile(static_cast<std::size_t>(state.range(0)), state.range(1) != 0), Stage::ReadAndTokenize);
}
void BM_Import_Generated(benchmark::State& state) {
  Run(state, GeneratedFile(static_cast<std::size_t>(state.range(0)), state.range(1) != 0), Stage::Import);
}

// Arguments: size in MB, CR LF line ends.
#define ZAV_GENERATED_SIZES ArgNames({"MB", "crlf"})->Args({5, 0})->Args({50, 0})->Args({5, 1})

BENCHMARK(BM_Read_Corpus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndTokenize_Corpus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import_Corpus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Read_Generated)->ZAV_GENERATED_SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadAndTokenize_Generated)->ZAV_GENERATED_SIZES->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import_Generated)->ZAV_GENERATED_SIZES->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
