// A batch must give back what the process-wide list would have held, in the
// same order, and a thread's sink must keep that thread's diagnostics apart
// from every other thread's and from the list.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <thread>
#include <vector>

#include "diagnostics/add_diagnostic.h"
#include "diagnostics/diagnostic_batch.h"
#include "diagnostics/diagnostic_list.h"
#include "diagnostics/diagnostic_sink.h"
#include "text/source_line.h"

namespace zav {
namespace {

struct Seen {
  int lineNumber;
  MessageCode code;
  std::string text;
  friend bool operator==(const Seen&, const Seen&) = default;
};

std::vector<Seen> FromList() {
  std::vector<Seen> seen;
  TheDiagnosticList().ForEach(
      [&](const Diagnostic& d) { seen.push_back({d.lineNumber, d.code, std::string(d.text)}); });
  return seen;
}

std::vector<Seen> FromBatch(DiagnosticBatch& batch) {
  std::vector<Seen> seen;
  for (const Diagnostic d : batch.Sorted()) seen.push_back({d.lineNumber, d.code, std::string(d.text)});
  return seen;
}

// Files `count` diagnostics on lines in a shuffled order (some without a
// line, several on one line), each telling its place in the filing order.
void FileShuffled(const std::vector<SourceLine>& lines, int count, unsigned seed) {
  std::mt19937 random(seed);
  for (int i = 0; i < count; ++i) {
    const std::size_t pick = random() % (lines.size() + 1);
    const SourceLine* line = pick == lines.size() ? nullptr : &lines[pick];
    AddDiagnostic(MessageCode::UnrecognizedParameter, line, {"P" + std::to_string(i)});
  }
}

std::vector<SourceLine> Lines(int count) {
  std::vector<SourceLine> lines;
  for (int i = 0; i < count; ++i) {
    lines.push_back(SourceLine::MakeOwning(".MODEL D" + std::to_string(i) + " D(X=1)\n", 1 + (i * 7) % count,
                                           LineKind::Model));
  }
  return lines;
}

class DiagnosticBatchTest : public ::testing::Test {
 protected:
  void SetUp() override { TheDiagnosticList().Clear(); }
  void TearDown() override { TheDiagnosticList().Clear(); }
};

TEST_F(DiagnosticBatchTest, GivesBackTheListsOrderAndTexts) {
  const std::vector<SourceLine> lines = Lines(9);
  for (unsigned seed : {1u, 2u, 3u}) {
    TheDiagnosticList().Clear();
    FileShuffled(lines, 200, seed);
    const std::vector<Seen> list = FromList();
    DiagnosticBatch batch;
    {
      ScopedDiagnosticSink filed(batch);
      FileShuffled(lines, 200, seed);
    }
    EXPECT_EQ(FromBatch(batch), list) << "seed " << seed;
    EXPECT_EQ(TheDiagnosticList().Count(), 200u);  // the batch's went to the batch only
  }
}

TEST_F(DiagnosticBatchTest, ABatchWithoutTextsKeepsEverythingElse) {
  const std::vector<SourceLine> lines = Lines(4);
  DiagnosticBatch withTexts;
  DiagnosticBatch withoutTexts(false);
  {
    ScopedDiagnosticSink filed(withTexts);
    FileShuffled(lines, 50, 7);
  }
  {
    ScopedDiagnosticSink filed(withoutTexts);
    FileShuffled(lines, 50, 7);
  }
  std::vector<Seen> expected = FromBatch(withTexts);
  for (Seen& seen : expected) seen.text.clear();
  EXPECT_EQ(FromBatch(withoutTexts), expected);
  EXPECT_EQ(TheDiagnosticList().Count(), 0u);
}

TEST_F(DiagnosticBatchTest, RunsFiledOnFromABatchReadAsIfFiledOneByOne) {
  // Diagnostics held back in a batch go on in runs, between others filed
  // directly: into a batch (records and texts copied) or into the list (one
  // by one), with or without texts, in the held batch's filing order.
  const std::vector<SourceLine> lines = Lines(6);
  for (const bool texts : {true, false}) {
    DiagnosticBatch held(texts);
    {
      ScopedDiagnosticSink filed(held);
      FileShuffled(lines, 60, 11);
    }
    // The runs, and what is filed directly before each.
    const std::size_t runs[][2] = {{0, 1}, {1, 0}, {1, 25}, {26, 34}};
    auto fileAll = [&](DiagnosticSink& sink) {
      ScopedDiagnosticSink filed(sink);
      for (const auto& run : runs) {
        AddDiagnostic(MessageCode::UnrecognizedParameter, &lines[run[0] % lines.size()], {"direct"});
        sink.FileFrom(held, run[0], run[1]);
      }
    };
    DiagnosticBatch oneByOne(texts);
    {
      ScopedDiagnosticSink filed(oneByOne);
      for (const auto& run : runs) {
        AddDiagnostic(MessageCode::UnrecognizedParameter, &lines[run[0] % lines.size()], {"direct"});
        for (std::size_t i = run[0]; i < run[0] + run[1]; ++i) oneByOne.File(held.At(i));
      }
    }
    DiagnosticBatch inRuns(texts);
    fileAll(inRuns);
    EXPECT_EQ(inRuns.size(), 64u);
    EXPECT_EQ(FromBatch(inRuns), FromBatch(oneByOne)) << "texts " << texts;
    if (texts) {
      TheDiagnosticList().Clear();
      fileAll(TheDiagnosticList());
      EXPECT_EQ(FromList(), FromBatch(oneByOne));
    }
  }
}

TEST_F(DiagnosticBatchTest, SinksNestAndEachThreadFilesIntoItsOwn) {
  const std::vector<SourceLine> lines = Lines(5);
  DiagnosticBatch outer;
  DiagnosticBatch inner;
  {
    ScopedDiagnosticSink filedOuter(outer);
    AddDiagnostic(MessageCode::UnrecognizedParameter, &lines[0], {"A"});
    {
      ScopedDiagnosticSink filedInner(inner);
      AddDiagnostic(MessageCode::UnrecognizedParameter, &lines[1], {"B"});
    }
    AddDiagnostic(MessageCode::UnrecognizedParameter, &lines[2], {"C"});
  }
  AddDiagnostic(MessageCode::UnrecognizedParameter, &lines[3], {"D"});
  EXPECT_EQ(outer.size(), 2u);
  EXPECT_EQ(inner.size(), 1u);
  EXPECT_EQ(TheDiagnosticList().Count(), 1u);

  // Threads filing at the same time: each batch holds its own thread's
  // diagnostics, in the order one thread alone would give.
  constexpr int kThreads = 4;
  std::vector<DiagnosticBatch> batches(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      ScopedDiagnosticSink filed(batches[static_cast<std::size_t>(t)]);
      FileShuffled(lines, 2000, static_cast<unsigned>(t));
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) {
    DiagnosticBatch alone;
    {
      ScopedDiagnosticSink filed(alone);
      FileShuffled(lines, 2000, static_cast<unsigned>(t));
    }
    EXPECT_EQ(FromBatch(batches[static_cast<std::size_t>(t)]), FromBatch(alone)) << "thread " << t;
  }
  EXPECT_EQ(TheDiagnosticList().Count(), 1u);
}

}  // namespace
}  // namespace zav
