#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "diagnostics/diagnostic_list.h"
#include "session/import_session.h"
#include "support/temp_file.h"

namespace zav {
namespace {

using testing::TempFile;

struct Built {
  // The 1-based numbers of each card's lines, "c" added for an inline comment.
  std::vector<std::vector<std::string>> cards;
  std::vector<int32_t> diagnosticLines;  // of code 7, the only one filed here
};

Built Build(const std::string& bytes) {
  TheDiagnosticList().Clear();
  TempFile file(bytes);
  ImportSession session;
  session.Import(file.path().c_str(), ImportSession::Stage::BuildCards);
  Built built;
  for (const auto& card : session.cards()) {
    auto& numbers = built.cards.emplace_back();
    for (const SourceLine* line : card->lines) {
      numbers.push_back(std::to_string(line->number) + (line->isInlineComment ? "c" : ""));
    }
  }
  TheDiagnosticList().ForEach([&](const Diagnostic& d) {
    EXPECT_NE(d.text.find("This line is unexpected in this context"), std::string::npos);
    built.diagnosticLines.push_back(d.lineNumber);
  });
  TheDiagnosticList().Clear();
  return built;
}

TEST(CardBuilderTest, GroupsStatementsWithTheirContinuationAndCommentLines) {
  using Cards = std::vector<std::vector<std::string>>;
  struct Case {
    const char* bytes;
    Cards cards;
    std::vector<int32_t> code7;
  };
  const std::vector<Case> cases = {
      {"", {}, {}},
      {"* a\n\n; b\n", {}, {}},
      // Comments before a statement open its card; comments between it and
      // a continuation belong to it; comments after it wait for the next card.
      {"* head\nR1 1 2\n* in\n+ 3\n* after\nR2 3 4\n", {{"1", "2", "3", "4"}, {"5", "6"}}, {}},
      {"R1 1 2 ; a\n+ 3 ; b\n* x\n.MODEL D1 D\n", {{"1", "1c", "2", "2c"}, {"3", "4"}}, {}},
      // Trailing comment lines go to the last card.
      {".MODEL D1 D\n* t1\n\n", {{"1", "2", "3"}}, {}},
      {".SUBCKT A 1\nR1 1 0 1\n.ENDS\n.END\n", {{"1"}, {"2"}, {"3"}, {"4"}}, {}},
      // Unexpected lines wait for the next card, or go to the last one.
      {"+ 5\nR1 1 2\n", {{"1", "2"}}, {1}},
      {"R1 1 2\n10 20\n+ 3\nR2 1 2\n", {{"1"}, {"2", "3", "4"}}, {2, 3}},
      {"R1 1 2\n* c\n42\n", {{"1", "2", "3"}}, {3}},
      {"42\n* only\n", {}, {1}},
  };
  for (const Case& c : cases) {
    const Built built = Build(c.bytes);
    EXPECT_EQ(built.cards, c.cards) << c.bytes;
    EXPECT_EQ(built.diagnosticLines, c.code7) << c.bytes;
  }
}

// A stray line is a comment line of its own: the statement after it is read
// by its own first word.
TEST(CardBuilderTest, StrayLinesBecomeCommentLinesOfTheirOwn) {
  struct Case {
    const char* bytes;
    std::vector<std::string> texts;  // every line's text after building
    std::vector<std::string> firstWords;  // of each card, once parsed
  };
  const std::vector<Case> cases = {
      {"[BZT52C10]\n.SUBCKT BZT52C10 1 2\n", {"* [BZT52C10]\n", ".SUBCKT BZT52C10 1 2\n"}, {".SUBCKT"}},
      // The inline comment of a stray line stays its own record.
      {"R1 1 2\n10 20 ; x\n+ 3\n", {"R1 1 2\n", "* 10 20", " ; x\n", "* + 3\n"}, {"R1"}},
      {"$\n", {"* $\n"}, {}},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    TempFile file(c.bytes);
    ImportSession session;
    session.Import(file.path().c_str(), ImportSession::Stage::BuildCards);
    std::vector<std::string> texts;
    for (const SourceLine& line : session.lines()) {
      texts.emplace_back(line.text);
      if (line.text != line.rawText) {
        EXPECT_EQ(line.kind, LineKind::Comment) << line.text;
      }
    }
    EXPECT_EQ(texts, c.texts) << c.bytes;
    std::vector<std::string> firstWords;
    for (const auto& card : session.cards()) {
      card->Parse();
      const Token* first = card->FirstToken();
      firstWords.emplace_back(first ? std::string(first->text) : "");
    }
    EXPECT_EQ(firstWords, c.firstWords) << c.bytes;
  }
  TheDiagnosticList().Clear();
}

// Lines are grouped as they are read: a stray line's report still follows
// what the reading reports about that line, the text after an end-of-file
// mark (reported once every line is read) among it.
TEST(CardBuilderTest, AStrayLineIsReportedAfterTheReadingsReportsOfItsLine) {
  using namespace std::string_literals;
  struct Case {
    std::string bytes;
    std::vector<std::string> codes;  // in list order: "N" NUL, "E" end-of-file mark, "U" unexpected
  };
  const std::vector<Case> cases = {
      {"R1 1 2\n4\0 2\n+ 3\n"s, {"2N", "2U", "3U"}},
      {"R1 1 2\n42 ; x\x1A" "tail"s, {"2E", "2U"}},
      {"R1 1 2\n42\n\x1A" "tail"s, {"2E", "2U"}},
      {"42\nR1 1 2\x1A" "tail"s, {"1U", "2E"}},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    TempFile file(c.bytes);
    ImportSession session;
    session.Import(file.path().c_str(), ImportSession::Stage::BuildCards);
    std::vector<std::string> codes;
    TheDiagnosticList().ForEach([&](const Diagnostic& d) {
      const char code = d.text.find("NUL") != std::string::npos          ? 'N'
                        : d.text.find("end-of-file") != std::string::npos ? 'E'
                                                                            : 'U';
      codes.push_back(std::to_string(d.lineNumber) + code);
    });
    EXPECT_EQ(codes, c.codes) << c.bytes;
  }
  TheDiagnosticList().Clear();
}

std::string Dumped(const ImportSession& session) {
  std::FILE* file = std::tmpfile();
  session.Dump(file);
  std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
  std::rewind(file);
  EXPECT_EQ(std::fread(text.data(), 1, text.size(), file), text.size());
  std::fclose(file);
  return text;
}

TEST(SessionDumpTest, ListsLinesThenEveryCard) {
  // The stray first line is turned into a comment: the dump shows the lines
  // as they now read.
  TempFile file("- stray\nR1 1 2 10 ; note\n.MODEL D1 D\n");
  ImportSession session;
  session.Import(file.path().c_str(), ImportSession::Stage::BuildCards);
  EXPECT_EQ(Dumped(session),
            "\t*************** INPUT TEXT ***************\n"
            "\nLine   1(1): * - stray\n"
            "\nLine   2(6): R1 1 2 10 ; note\n"
            "\nLine   3(3): .MODEL D1 D\n"
            "\n"
            "\n\n\t\t*************** MODELS ***************\n"
            "\tModel 1:\n"
            "\nLine   1(1): * - stray\n"
            "\nLine   2(6): R1 1 2 10 ; note\n"
            "\n"
            "\tModel 2:\n"
            "\nLine   3(3): .MODEL D1 D\n"
            "\n");

  ImportSession empty;
  EXPECT_EQ(Dumped(empty),
            "\t*************** INPUT TEXT ***************\n"
            "\n"
            "\n\n\t\t*************** MODELS ***************\n");
}

}  // namespace
}  // namespace zav
