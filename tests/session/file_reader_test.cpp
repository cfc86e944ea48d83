#include <gtest/gtest.h>

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
  session.path = file.path();
  session.hasPath = true;
  session.ReadFile();
  std::vector<LineState> out;
  for (const SourceLine& l : session.lines) {
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
      // A lone CR, 0x1A and NUL are ordinary bytes; nothing ends the file early.
      {"R1 1\r2\r\r\n", {{1, "R1 1\r2\r\n", LineKind::Element, false}}},
      {"R1 1\r", {{1, "R1 1\r", LineKind::Element, false}}},
      {"R1 \x1A 2\nR2\n", {{1, "R1 \x1A 2\n", LineKind::Element, false}, {2, "R2\n", LineKind::Element, false}}},
      {"R1 \0 2\nR2\n"s, {{1, "R1 \0 2\n"s, LineKind::Element, false}, {2, "R2\n", LineKind::Element, false}}},
      {"\n\n", {{1, "\n", LineKind::Comment, false}, {2, "\n", LineKind::Comment, false}}},
  };
  TheDiagnosticList().Clear();
  for (const Case& c : cases) EXPECT_EQ(ReadLines(c.bytes), c.expected);
  EXPECT_EQ(TheDiagnosticList().Count(), 0u);
}

TEST(FileReaderTest, UnopenableFileFilesCode1AndGivesNoLines) {
  TheDiagnosticList().Clear();
  ImportSession session;
  session.path = "/nonexistent/zav/model.lib";
  session.hasPath = true;
  session.ReadFile();
  session.BuildCards();
  EXPECT_TRUE(session.lines.empty());
  EXPECT_TRUE(session.cards.empty());
  const std::vector<std::string> diagnostics = Diagnostics();
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_NE(diagnostics[0].find("Can't open file: /nonexistent/zav/model.lib for reading"), std::string::npos);
  EXPECT_EQ(diagnostics[0].find("Line"), std::string::npos);
  TheDiagnosticList().Clear();
}

// The pieces must not depend on where the blocks of the file happen to end,
// a CR LF pair split between two blocks included.
TEST(LineReaderTest, PiecesDoNotDependOnTheBlockSize) {
  auto reference = [](const std::string& bytes) {
    std::string clean;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
      if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
      clean += bytes[i];
    }
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : clean) {
      piece += c;
      if (c == '\n' || piece.size() == 511) pieces.push_back(std::move(piece)), piece.clear();
    }
    if (!piece.empty()) pieces.push_back(piece);
    return pieces;
  };
  std::mt19937 random(99);
  const std::string alphabet = "ab \r\r\n\n\0"s;
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::vector<std::string> inputs = {"", "\r", "\r\n", "\r\r\n\r", std::string(510, 'a') + "\r\n" + std::string(511, 'b') + "\r"};
  for (int i = 0; i < 20; ++i) {
    std::string bytes;
    const int length = i < 10 ? 30 : 3000;
    for (int n = 0; n < length; ++n) bytes += i % 3 == 0 && n % 700 ? 'a' : alphabet[pick(random)];
    inputs.push_back(bytes);
  }
  for (const std::string& bytes : inputs) {
    const std::vector<std::string> expected = reference(bytes);
    for (std::size_t block : {1, 2, 3, 7, 510, 511, 512, 4096}) {
      TempFile file(bytes);
      std::FILE* f = std::fopen(file.path().c_str(), "rb");
      ASSERT_NE(f, nullptr);
      LineReader reader(f, block);
      std::vector<std::string> pieces;
      std::string piece;
      while (reader.Next(piece)) pieces.push_back(piece);
      EXPECT_FALSE(reader.failed());
      std::fclose(f);
      EXPECT_EQ(pieces, expected) << "block " << block;
    }
  }
}

}  // namespace
}  // namespace zav
