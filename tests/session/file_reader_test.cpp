#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "diagnostics/diagnostic_list.h"
#include "session/import_session.h"
#include "session/line_reader.h"
#include "support/temp_file.h"

namespace zav {
namespace {

using testing::TempFile;
using namespace std::string_literals;

// number, text, kind, isInlineComment
using LineState = std::tuple<int32_t, std::string, LineKind, bool>;

std::vector<LineState> ReadLines(const std::string& bytes) {
  TempFile file(bytes);
  ImportSession session;
  session.Import(file.path().c_str(), ImportSession::Stage::Read);
  std::vector<LineState> out;
  for (const SourceLine& l : session.lines()) {
    EXPECT_EQ(l.text, l.rawText);
    out.emplace_back(l.number, l.text, l.kind, l.isInlineComment);
  }
  return out;
}

std::vector<std::string> Diagnostics() {
  std::vector<std::string> texts;
  TheDiagnosticList().ForEach([&](const Diagnostic& d) { texts.push_back(d.text); });
  return texts;
}

TEST(FileReaderTest, ClassifiesLinesByTheirFirstNonBlankCharacter) {
  const std::vector<std::pair<std::string, LineKind>> cases = {
      {".MODEL QN NPN\n", LineKind::Model},   {".model qn npn", LineKind::Model},
      {"  .MoD x", LineKind::Model},          {".SUBCKT AMP 1 2\n", LineKind::Subckt},
      {".sux", LineKind::Subckt},             {".ENDS\n", LineKind::Ends},
      {"\t.ends AMP", LineKind::Ends},        {".END\n", LineKind::Control},
      {".PARAM X=1", LineKind::Control},      {".", LineKind::Control},
      {"R1 1 2 10\n", LineKind::Element},     {"  q1 1 2 3", LineKind::Element},
      {"+ IS=1\n", LineKind::Continuation},   {"   +", LineKind::Continuation},
      {"* remark\n", LineKind::Comment},      {"  ; remark", LineKind::Comment},
      {"", LineKind::Comment},                {" \t\r\n", LineKind::Comment},
      {"10 20\n", LineKind::Other},           {"\"x\"", LineKind::Other},
      {"\xC3\x84 1 2", LineKind::Other},      {"\x1A", LineKind::Other},
      {"\0R1"s, LineKind::Other},             {"[x]", LineKind::Other},
      // A dot line is told by up to its first eight bytes: shorter lines, a
      // prefix at the end of the text, bytes above 127 (no letters).
      {".Su", LineKind::Subckt},              {".MO", LineKind::Control},
      {".mod", LineKind::Model},              {".EnDs", LineKind::Ends},
      {".END", LineKind::Control},            {".ENDSUBCKT", LineKind::Ends},
      {".M\xCF" "D X", LineKind::Control},    {".S\xD5" "B", LineKind::Control},
      {" .models", LineKind::Model},          {".OPTIONS\n", LineKind::Control},
  };
  ImportSession session;
  for (const auto& [text, kind] : cases) EXPECT_EQ(session.ClassifyLine(text), kind) << text;
}

TEST(FileReaderTest, SplitsInlineCommentsOffCodeLines) {
  struct Case {
    std::string bytes;
    std::vector<LineState> expected;
  };
  const std::vector<Case> cases = {
      {"R1 1 2 10 ; remark\n",
       {{1, "R1 1 2 10", LineKind::Element, false}, {1, " ; remark\n", LineKind::Comment, true}}},
      {"R1 1 2 10;x;y\n", {{1, "R1 1 2 10", LineKind::Element, false}, {1, ";x;y\n", LineKind::Comment, true}}},
      {".MODEL D1 D \t ;", {{1, ".MODEL D1 D", LineKind::Model, false}, {1, " \t ;", LineKind::Comment, true}}},
      {"+ IS=1 ;a\n", {{1, "+ IS=1", LineKind::Continuation, false}, {1, " ;a\n", LineKind::Comment, true}}},
      // Comment lines are stored whole, whatever they contain.
      {"  * a ; b\n", {{1, "  * a ; b\n", LineKind::Comment, false}}},
      {"; a ; b\n", {{1, "; a ; b\n", LineKind::Comment, false}}},
      // "*" is a comment character only at the start of a line.
      {"R1 1 2 * 3\n", {{1, "R1 1 2 * 3\n", LineKind::Element, false}}},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    EXPECT_EQ(ReadLines(c.bytes), c.expected) << c.bytes;
    EXPECT_EQ(TheDiagnosticList().Count(), 0u);
  }
}

TEST(FileReaderTest, DeliversLongLinesInNumberedPiecesOf511Characters) {
  const std::string a600 = "R" + std::string(510, 'a') + "+" + std::string(88, 'b');  // 600 characters
  const std::string x511 = std::string(511, 'x');
  struct Case {
    std::string bytes;
    std::vector<LineState> expected;
  };
  const std::vector<Case> cases = {
      {a600 + "\nR2 1 2 3\n",
       {{1, a600.substr(0, 511), LineKind::Element, false},
        {2, a600.substr(511) + "\n", LineKind::Continuation, false},
        {3, "R2 1 2 3\n", LineKind::Element, false}}},
      {"R" + x511 + "\n", {{1, "R" + x511.substr(1), LineKind::Element, false}, {2, "x\n", LineKind::Element, false}}},
      // The line feed is the 512th character: it arrives as a blank line.
      {"R" + x511.substr(1) + "\n", {{1, "R" + x511.substr(1), LineKind::Element, false}, {2, "\n", LineKind::Comment, false}}},
      // Counted after a CR before a LF is dropped.
      {"R" + x511.substr(2) + "\r\n", {{1, "R" + x511.substr(2) + "\n", LineKind::Element, false}}},
      {std::string(1200, ' '), {{1, std::string(511, ' '), LineKind::Comment, false},
                               {2, std::string(511, ' '), LineKind::Comment, false},
                               {3, std::string(178, ' '), LineKind::Comment, false}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadLines(c.bytes), c.expected);
}

TEST(FileReaderTest, LineEndsAndUnusualBytes) {
  struct Case {
    std::string bytes;
    std::vector<LineState> expected;
  };
  const std::vector<Case> cases = {
      {"", {}},
      {"R1 1 2 10", {{1, "R1 1 2 10", LineKind::Element, false}}},
      // CR LF gives the lines that LF gives.
      {"R1 1 2 10 ;x\r\n+ 5\r\n", {{1, "R1 1 2 10", LineKind::Element, false}, {1, " ;x\n", LineKind::Comment, true},
                                    {2, "+ 5\n", LineKind::Continuation, false}}},
      // A lone CR is an ordinary byte.
      {"R1 1\r2\r\r\n", {{1, "R1 1\r2\r\n", LineKind::Element, false}}},
      {"R1 1\r", {{1, "R1 1\r", LineKind::Element, false}}},
      {"\n\n", {{1, "\n", LineKind::Comment, false}, {2, "\n", LineKind::Comment, false}}},
      // The end-of-file mark ends the file, in the middle of a line too; blanks
      // and further marks after it are filler.
      {"R1 1 2\n\x1A", {{1, "R1 1 2\n", LineKind::Element, false}}},
      {"R1 1 2\r\n\x1A\x1A\x1A\r\n \t", {{1, "R1 1 2\n", LineKind::Element, false}}},
      {"R1 \x1A 2\nR2\n", {{1, "R1 ", LineKind::Element, false}}},
      {"\x1AR1 1 2\n", {}},
      // A CR just before the mark has no LF to pair with.
      {"R1\r\x1A\n", {{1, "R1\r", LineKind::Element, false}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadLines(c.bytes), c.expected);
  TheDiagnosticList().Clear();
}

TEST(FileReaderTest, ReportsTextAfterTheEndOfFileMarkOnTheLastLineRead) {
  struct Case {
    std::string bytes;
    std::vector<std::string> diagnostics;
  };
  const std::vector<Case> cases = {
      {"R1 1 2\r\n\x1A\xFF\x01\0 x\n"s,
       {"Line 1:\n\tR1 1 2\ninfo -- The file ends at an end-of-file mark; 6 bytes after it were not read.\n"}},
      // The code part of a split line is quoted.
      {"R1 1 2 ; a\x1A" "b", {"Line 1:\n\tR1 1 2\ninfo -- The file ends at an end-of-file mark; 1 bytes after it were not read.\n"}},
      {"\x1A\x1A.MODEL D1 D\n", {"info -- The file ends at an end-of-file mark; 13 bytes after it were not read.\n"}},
      {"R1 1 2\n\x1A \r\n\x1A", {}},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    ReadLines(c.bytes);
    EXPECT_EQ(Diagnostics(), c.diagnostics) << c.bytes;
  }
  TheDiagnosticList().Clear();
}

TEST(FileReaderTest, ReplacesNulBytesAndWarnsOnceOnTheFirstLine) {
  struct Case {
    std::string bytes;
    std::vector<LineState> expected;
    int32_t warnedLine;  // 0: no warning
  };
  const std::vector<Case> cases = {
      {"R1 \0 2\nR2\0\n"s, {{1, "R1   2\n", LineKind::Element, false}, {2, "R2 \n", LineKind::Element, false}}, 1},
      // Replaced before the line is classified and split.
      {"* a\n\0R1 1;\0\n"s,
       {{1, "* a\n", LineKind::Comment, false}, {2, " R1 1", LineKind::Element, false}, {2, "; \n", LineKind::Comment, true}},
       2},
      {"\0\0"s, {{1, "  ", LineKind::Comment, false}}, 1},
      // Bytes after the end-of-file mark are not read.
      {"R1\n\x1A\0"s, {{1, "R1\n", LineKind::Element, false}}, 0},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    EXPECT_EQ(ReadLines(c.bytes), c.expected);
    std::vector<int32_t> warned;
    TheDiagnosticList().ForEach([&](const Diagnostic& d) {
      if (d.text.find("NUL") != std::string::npos) warned.push_back(d.lineNumber);
    });
    EXPECT_EQ(warned, c.warnedLine == 0 ? std::vector<int32_t>{} : std::vector<int32_t>{c.warnedLine}) << c.bytes;
  }
  TheDiagnosticList().Clear();
}

TEST(FileReaderTest, EncryptedBlocksAreCommentLinesWithOneWarningEach) {
  struct Case {
    std::string bytes;
    std::vector<LineState> expected;
    std::vector<int32_t> warned;
  };
  const std::vector<Case> cases = {
      {".SUBCKT A 1\n$CDNENCSTART_ADV2\nf40ba2d9 x;y\n17f62b1f\n+ 1\n$CDNENCFINISH_ADV2\n.ENDS A\n",
       {{1, ".SUBCKT A 1\n", LineKind::Subckt, false},
        {2, "$CDNENCSTART_ADV2\n", LineKind::Comment, false},
        {3, "f40ba2d9 x;y\n", LineKind::Comment, false},
        {4, "17f62b1f\n", LineKind::Comment, false},
        {5, "+ 1\n", LineKind::Comment, false},
        {6, "$CDNENCFINISH_ADV2\n", LineKind::Comment, false},
        {7, ".ENDS A\n", LineKind::Ends, false}},
       {2}},
      // Unclosed, the block runs to the end of the file; a second start
      // inside it is cipher text.
      {"$ENCSTART\nR1 1 2\n  $x_encstart\n.ENDS\n",
       {{1, "$ENCSTART\n", LineKind::Comment, false},
        {2, "R1 1 2\n", LineKind::Comment, false},
        {3, "  $x_encstart\n", LineKind::Comment, false},
        {4, ".ENDS\n", LineKind::Comment, false}},
       {1}},
      {"$A_ENCSTART\n$A_ENCFINISH\n$B_ENCSTART\t1\nB\n $B_ENCFINISH\nR1 1 2\n",
       {{1, "$A_ENCSTART\n", LineKind::Comment, false},
        {2, "$A_ENCFINISH\n", LineKind::Comment, false},
        {3, "$B_ENCSTART\t1\n", LineKind::Comment, false},
        {4, "B\n", LineKind::Comment, false},
        {5, " $B_ENCFINISH\n", LineKind::Comment, false},
        {6, "R1 1 2\n", LineKind::Element, false}},
       {1, 3}},
      // Only a first word that begins with "$" marks a block.
      {"$ ENCSTART\nX ENCSTART\n", {{1, "$ ENCSTART\n", LineKind::Other, false}, {2, "X ENCSTART\n", LineKind::Element, false}}, {}},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    EXPECT_EQ(ReadLines(c.bytes), c.expected) << c.bytes;
    std::vector<int32_t> warned;
    TheDiagnosticList().ForEach([&](const Diagnostic& d) {
      EXPECT_NE(d.text.find("warning -- The model contains an encrypted block that is passed through unchanged.\n"),
                std::string::npos);
      warned.push_back(d.lineNumber);
    });
    EXPECT_EQ(warned, c.warned) << c.bytes;
  }
  TheDiagnosticList().Clear();
}

TEST(FileReaderTest, UnopenableFileFilesCode1AndGivesNoLines) {
  TheDiagnosticList().Clear();
  ImportSession session;
  session.Import("/nonexistent/zav/model.lib", ImportSession::Stage::BuildCards);
  EXPECT_TRUE(session.lines().empty());
  EXPECT_TRUE(session.cards().empty());
  const std::vector<std::string> diagnostics = Diagnostics();
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_NE(diagnostics[0].find("Can't open file: /nonexistent/zav/model.lib for reading"), std::string::npos);
  EXPECT_EQ(diagnostics[0].find("Line"), std::string::npos);
  TheDiagnosticList().Clear();
}

// The pieces must not depend on where the blocks of the file happen to end:
// a CR LF pair split between two blocks, an end-of-file mark at the start,
// the middle or the end of a block, and the first NUL included.
TEST(LineReaderTest, PiecesDoNotDependOnTheBlockSize) {
  struct Reference {
    std::vector<std::string> pieces;
    std::size_t firstNulPiece = static_cast<std::size_t>(-1);
    bool stoppedAtMark = false;
    std::uint64_t bytesAfterMark = 0;
    bool textAfterMark = false;
  };
  auto reference = [](const std::string& bytes) {
    Reference r;
    std::size_t size = bytes.find('\x1A');
    if (size != std::string::npos) {
      r.stoppedAtMark = true;
      r.bytesAfterMark = bytes.size() - size - 1;
      r.textAfterMark = bytes.find_first_not_of(" \t\r\n\v\f\x1A", size) != std::string::npos;
    } else {
      size = bytes.size();
    }
    std::string clean;
    for (std::size_t i = 0; i < size; ++i) {
      if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n') continue;
      clean += bytes[i];
    }
    std::string piece;
    bool heldNul = false;
    auto end = [&] {
      if (heldNul && r.firstNulPiece == static_cast<std::size_t>(-1)) r.firstNulPiece = r.pieces.size();
      r.pieces.push_back(std::move(piece));
      piece.clear();
      heldNul = false;
    };
    for (char c : clean) {
      heldNul = heldNul || c == '\0';
      piece += c == '\0' ? ' ' : c;
      if (c == '\n' || piece.size() == 511) end();
    }
    if (!piece.empty()) end();
    return r;
  };
  std::mt19937 random(99);
  const std::string alphabet = "ab \r\r\n\n\0;"s;
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::vector<std::string> inputs = {"", "\r", "\r\n", "\r\r\n\r", std::string(510, 'a') + "\r\n" + std::string(511, 'b') + "\r",
                                     "\x1A", "a\r\x1A\n", "ab\n\x1A\x1A \n", "\0\x1A\0"s, ";;\n;\n\n;",
                                     std::string(1100, ';'), "a;" + std::string(511, 'b') + ";\n;",
                                     // Line feeds at the edges of the reader's blocks of 64 bytes,
                                     // and texts that end at one.
                                     std::string(63, 'a') + "\n" + std::string(63, 'b') + "\n\n",
                                     std::string(64, 'a'), std::string(127, 'a') + "\n",
                                     std::string(700, 'a') + "\n" + std::string(1023, 'b') + "\n" + std::string(64, 'c')};
  for (int i = 0; i < 30; ++i) {
    std::string bytes;
    const int length = i < 10 ? 30 : 3000;
    for (int n = 0; n < length; ++n) bytes += i % 3 == 0 && n % 700 ? 'a' : alphabet[pick(random)];
    // An end-of-file mark somewhere in a third of them, with text or only
    // filler after it.
    if (i % 3 == 1) bytes.insert(bytes.size() / 2, i % 2 ? "\x1A" : "\x1A\x1A\r\n");
    if (i % 6 == 1) bytes.erase(bytes.find('\x1A') + 3);
    inputs.push_back(bytes);
  }
  for (const std::string& bytes : inputs) {
    const Reference expected = reference(bytes);
    for (std::size_t block : {1, 2, 3, 7, 510, 511, 512, 4096}) {
      TempFile file(bytes);
      std::FILE* f = std::fopen(file.path().c_str(), "rb");
      ASSERT_NE(f, nullptr);
      LineReader reader(f, block);
      std::vector<std::string> pieces;
      std::size_t firstNulPiece = static_cast<std::size_t>(-1);
      std::string piece;
      while (reader.Next(piece)) {
        if (reader.pieceHeldFirstNul()) {
          EXPECT_EQ(firstNulPiece, static_cast<std::size_t>(-1)) << "block " << block;
          firstNulPiece = pieces.size();
        }
        pieces.push_back(piece);
      }
      EXPECT_FALSE(reader.failed());
      std::fclose(f);
      EXPECT_EQ(pieces, expected.pieces) << "block " << block;
      EXPECT_EQ(firstNulPiece, expected.firstNulPiece) << "block " << block;
      EXPECT_EQ(reader.stoppedAtMark(), expected.stoppedAtMark) << "block " << block;
      EXPECT_EQ(reader.bytesAfterMark(), expected.bytesAfterMark) << "block " << block;
      EXPECT_EQ(reader.textAfterMark(), expected.textAfterMark) << "block " << block;
    }
    // Watching for a character changes no piece, and each piece reports
    // the first one in it: several in one piece, in pieces of a long line,
    // after a run of pieces with none.
    TempFile file(bytes);
    std::FILE* f = std::fopen(file.path().c_str(), "rb");
    ASSERT_NE(f, nullptr);
    LineReader reader(f);
    reader.WatchFor(';');
    std::string_view piece;
    std::size_t watchedAt = 0;
    std::size_t count = 0;
    while (reader.Next(piece, watchedAt)) {
      ASSERT_LT(count, expected.pieces.size());
      EXPECT_EQ(piece, expected.pieces[count]);
      EXPECT_EQ(watchedAt, expected.pieces[count].find(';')) << count;
      ++count;
    }
    std::fclose(f);
    EXPECT_EQ(count, expected.pieces.size());
    // Pieces offered and taken, and the ones refused or returned, are the
    // same pieces in the same order; a piece with a watched character is
    // returned with it.
    for (const std::size_t refuseEvery : {1, 2, 3, 1000}) {
      TempFile offered(bytes);
      std::FILE* g = std::fopen(offered.path().c_str(), "rb");
      ASSERT_NE(g, nullptr);
      LineReader offering(g);
      offering.WatchFor(';');
      std::size_t seen = 0;
      bool refused = false;
      auto take = [&](std::string_view taken) {
        if (++seen % refuseEvery == 0) {
          refused = true;
          return false;
        }
        EXPECT_LE(seen, expected.pieces.size());
        if (seen <= expected.pieces.size()) {
          EXPECT_EQ(taken, expected.pieces[seen - 1]);
          EXPECT_EQ(taken.find(';'), std::string_view::npos) << seen - 1;  // returned instead
        }
        return true;
      };
      while (offering.NextRefused(take, piece, watchedAt)) {
        if (!refused) ++seen;  // returned without being offered
        refused = false;
        ASSERT_LE(seen, expected.pieces.size());
        EXPECT_EQ(piece, expected.pieces[seen - 1]) << refuseEvery;
        EXPECT_EQ(watchedAt, expected.pieces[seen - 1].find(';')) << refuseEvery;
      }
      std::fclose(g);
      EXPECT_EQ(seen, expected.pieces.size()) << refuseEvery;
    }
  }
}

}  // namespace
}  // namespace zav
