// The whole import as zav-import -q runs it: diagnostics filed into a batch
// of the import's own that keeps no texts, every model's text written into
// one reused buffer. Inputs are the corpus (every file, one after the other)
// and generated libraries of 5 and 50 MB with the full mix of translation
// work; the 50 MB figure against the 5 MB one shows how time grows with
// size. Beside the throughput, the heap an import holds once it has ended,
// per byte of input (glibc only). And the tokenizer alone, both ways it cuts
// a line.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <type_traits>
#include <vector>

#include "cards/token_list.h"
#include "cards/tokenizer.h"
#include "diagnostics/diagnostic_batch.h"
#include "diagnostics/diagnostic_sink.h"
#include "generate_library.h"
#include "session/import_session.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

namespace fs = std::filesystem;

const std::string& GeneratedLibrary(std::size_t megabytes) {
  static std::map<std::size_t, std::string> files;
  std::string& path = files[megabytes];
  if (path.empty()) {
    path = (fs::temp_directory_path() / ("zav-import-bench-" + std::to_string(megabytes) + ".lib")).string();
    zav::bench::LibraryOptions options;
    options.targetBytes = megabytes * 1000 * 1000;
    if (!zav::bench::WriteLibrary(path, options)) path.clear();
  }
  return path;
}

std::vector<std::string> CorpusFiles() {
  std::vector<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(ZAV_CORPUS_DIR, error)) {
    const std::string extension = entry.path().extension().string();
    if (entry.is_regular_file() && extension != ".md" && extension != ".tsv") files.push_back(entry.path().string());
  }
  return files;
}

// Heap in use now, in bytes; 0 where it cannot be told.
std::size_t HeapInUse() {
#ifdef __GLIBC__
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
#else
  return 0;
#endif
}

// One import of `path` and the writing of its model texts into `out`; the
// heap the import holds at its end goes to `held`.
void ImportQuietly(const std::string& path, std::string& out, std::size_t& held) {
  zav::DiagnosticBatch diagnostics(false);
  zav::ScopedDiagnosticSink filed(diagnostics);
  const std::size_t before = HeapInUse();
  zav::ImportSession session;
  session.Import(path.c_str());
  held = HeapInUse() - before;
  for (zav::ImportedModel* model = session.FirstModel(); model != nullptr; model = session.NextModel()) {
    out.clear();
    model->AppendModelText(out);
    benchmark::DoNotOptimize(out.data());
  }
}

void Run(benchmark::State& state, const std::vector<std::string>& paths) {
  std::uintmax_t bytes = 0;
  for (const std::string& path : paths) {
    std::error_code error;
    bytes += fs::file_size(path, error);
  }
  if (paths.empty() || bytes == 0) {
    state.SkipWithError("input not available");
    return;
  }
  std::string out;
  std::size_t largestHeld = 0;
  for (auto _ : state) {
    for (const std::string& path : paths) {
      std::size_t held = 0;
      ImportQuietly(path, out, held);
      largestHeld = std::max(largestHeld, held);
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(bytes) / 1e6 * static_cast<double>(state.iterations()),
                                              benchmark::Counter::kIsRate);
  if (paths.size() == 1) state.counters["held/input"] = static_cast<double>(largestHeld) / static_cast<double>(bytes);
}

void BM_ImportQuiet_Corpus(benchmark::State& state) { Run(state, CorpusFiles()); }

void BM_ImportQuiet_Generated(benchmark::State& state) {
  const std::string& path = GeneratedLibrary(static_cast<std::size_t>(state.range(0)));
  Run(state, path.empty() ? std::vector<std::string>() : std::vector<std::string>{path});
}

// Every line of a generated library cut into all its tokens, or into the
// words only (what classification reads).
void BM_Tokenize_Generated(benchmark::State& state) {
  const std::string& path = GeneratedLibrary(5);
  if (path.empty()) {
    state.SkipWithError("input not available");
    return;
  }
  zav::DiagnosticBatch diagnostics(false);
  zav::ScopedDiagnosticSink filed(diagnostics);
  zav::ImportSession session;
  session.Import(path.c_str(), zav::ImportSession::Stage::Read);
  // The tokenizer records the line of each token, so it takes lines it may
  // point at; it changes none.
  auto& lines = const_cast<std::remove_cvref_t<decltype(session.lines())>&>(session.lines());
  const bool wordsOnly = state.range(0) != 0;
  std::uintmax_t bytes = 0;
  for (const zav::SourceLine& line : lines) bytes += line.text.size();
  zav::TokenPool pool;
  for (auto _ : state) {
    zav::TokenList tokens;
    tokens.Reset(&pool);
    for (zav::SourceLine& line : lines) {
      if (wordsOnly) {
        zav::AppendLineWords(line, tokens);
      } else {
        zav::AppendLineTokens(line, tokens);
      }
      // A card's worth at a time, as an import holds them.
      if (tokens.size() > 256) tokens.Reset(&pool);
    }
    benchmark::DoNotOptimize(tokens.size());
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes) * state.iterations());
}

BENCHMARK(BM_ImportQuiet_Corpus)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ImportQuiet_Generated)->ArgName("MB")->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Tokenize_Generated)->ArgName("wordsOnly")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
