#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cards/card.h"
#include "diagnostics/diagnostic_list.h"
#include "text/source_line.h"

namespace zav {
namespace {

// A tokenized card made of lines. A line given as "|text" is the comment part
// split off the end of the line before it.
struct TestCard {
  // With `oneBuffer`, the lines view one text, one after the other, as the
  // lines of an import view its file.
  explicit TestCard(const std::vector<std::string>& texts, bool oneBuffer = false) {
    const auto isInlineComment = [](const std::string& given) { return !given.empty() && given[0] == '|'; };
    for (const std::string& given : texts) buffer += std::string_view(given).substr(isInlineComment(given) ? 1 : 0);
    int32_t number = 1;
    std::size_t offset = 0;
    for (const std::string& given : texts) {
      const bool inlineComment = isInlineComment(given);
      std::string text = inlineComment ? given.substr(1) : given;
      LineKind kind = LineKind::Element;
      const std::size_t first = text.find_first_not_of(" \t");
      if (inlineComment || first == std::string::npos || text[first] == '*') {
        kind = LineKind::Comment;
      } else if (text[first] == '+') {
        kind = LineKind::Continuation;
      } else if (text[first] == '.') {
        kind = LineKind::Model;
      }
      const int32_t lineNumber = inlineComment ? number - 1 : number++;
      if (oneBuffer) {
        lines.emplace_back(std::string_view(buffer).substr(offset, text.size()), lineNumber, kind, inlineComment);
      } else {
        lines.push_back(SourceLine::MakeOwning(text, lineNumber, kind, inlineComment));
      }
      offset += text.size();
    }
    for (SourceLine& line : lines) card.AddLine(&line);
    card.Parse();
  }

  // The n-th token whose text is `text`.
  Token* Find(std::string_view text, int n = 1) {
    for (Token* t = card.tokens.front(); t != nullptr; t = t->next) {
      if (t->text == text && --n == 0) return t;
    }
    ADD_FAILURE() << "no token " << text;
    return nullptr;
  }

  std::string buffer;
  std::deque<SourceLine> lines;
  Card card;
};

const std::string kMovedNote = "Moved here from model: \"NM\"";

struct AddCase {
  const char* label;
  std::vector<std::string> lines;
  std::optional<std::string> note;
  std::string expected;
};

TEST(TextWriterTest, AddsEachParameterOnALineOfItsOwn) {
  const std::vector<AddCase> cases = {
      {"line feed at the end", {"M1 1 2 3 4 NM\n"}, kMovedNote,
       "M1 1 2 3 4 NM\n+ L = 1u    ; Moved here from model: \"NM\"\n"},
      {"no final line feed", {"M1 1 2 3 4 NM"}, kMovedNote,
       "M1 1 2 3 4 NM\n+ L = 1u    ; Moved here from model: \"NM\"\n"},
      {"without a note", {"M1 1 2 3 4 NM\n"}, std::nullopt, "M1 1 2 3 4 NM\n+ L = 1u\n"},
      {"after the inline comment of the last line", {"R1 1 2 10", "| ; note\n"}, std::nullopt,
       "R1 1 2 10 ; note\n+ L = 1u\n"},
      {"inline comment without a final line feed", {"R1 1 2 10", "| ; note"}, std::nullopt,
       "R1 1 2 10 ; note\n+ L = 1u\n"},
      {"before comment lines that follow the statement",
       {"M1 1 2 3 4 NM\n", "+ W=2u\n", "* a comment\n", "* another\n"}, std::nullopt,
       "M1 1 2 3 4 NM\n+ W=2u\n+ L = 1u\n* a comment\n* another\n"},
      {"after a closing parenthesis and its line feed", {".MODEL D1 D(IS=1)\n"}, std::nullopt,
       ".MODEL D1 D(IS=1)\n+ L = 1u\n"},
  };
  for (const AddCase& c : cases) {
    TestCard t(c.lines);
    t.card.AddParameter("L", "1u", TokenKind::Number, c.note, false);
    EXPECT_TRUE(t.card.changed) << c.label;
    EXPECT_EQ(t.card.OutputText(), c.expected) << c.label;
    ASSERT_FALSE(t.card.params().empty()) << c.label;
    const ParamEntry& added = t.card.params().back();
    EXPECT_EQ(added.name->text, "L") << c.label;
    EXPECT_EQ(added.value->text, "1u") << c.label;
    EXPECT_EQ(added.value->kind, TokenKind::Number) << c.label;
    EXPECT_EQ(added.row, -1) << c.label;
    EXPECT_EQ(added.name->line, added.value->line) << c.label;
  }
}

TEST(TextWriterTest, AddsParametersInTheOrderGivenAndLeavesOrReplacesExistingOnes) {
  TestCard t({"M1 1 2 3 4 NM\n", "* after\n"});
  t.card.AddParameter("L", "1u", TokenKind::Number, std::nullopt, false);
  t.card.AddParameter("TC", "1,2", TokenKind::Name, std::string("n"), false);
  EXPECT_EQ(t.card.OutputText(), "M1 1 2 3 4 NM\n+ L = 1u\n+ TC = 1,2    ; n\n* after\n");

  t.card.AddParameter("tc", "9", TokenKind::Number, std::nullopt, false);
  EXPECT_EQ(t.card.OutputText(), "M1 1 2 3 4 NM\n+ L = 1u\n+ TC = 1,2    ; n\n* after\n");
  EXPECT_EQ(t.card.params().size(), 2u);

  t.card.AddParameter("tc", "-1", TokenKind::Number, std::nullopt, true);
  EXPECT_EQ(t.card.OutputText(), "M1 1 2 3 4 NM\n+ L = 1u\n+ TC = -1    ; n\n* after\n");
  EXPECT_EQ(t.card.params().back().value->kind, TokenKind::Number);
  EXPECT_EQ(t.card.params().size(), 2u);
}

TEST(TextWriterTest, InsertsManyParametersAsOneRunOfLines) {
  // Enough lines that the tokens take the nodes of several blocks of the
  // card's pool; the run goes before the comment line after the statement,
  // and a line feed comes first where the statement had none.
  std::vector<std::string> names;
  std::vector<std::string> values;
  for (int i = 0; i < 40; ++i) names.push_back("P" + std::to_string(i));
  for (const std::string& name : names) values.push_back(name + "v");
  std::vector<KeptParameter> parameters;
  for (std::size_t i = 0; i < names.size(); ++i) {
    parameters.push_back(KeptParameter::Of(names[i], values[i], TokenKind::Number));
  }
  std::string added;
  for (const std::string& name : names) added += "+ " + name + " = " + name + "v    ; n\n";

  TestCard t({".MODEL D1 D IS=1", "| ; end", "* after\n"});
  bool lineFeedFirst = false;
  Token* after = t.card.ParameterInsertionPoint(lineFeedFirst);
  ASSERT_NE(after, nullptr);
  EXPECT_TRUE(lineFeedFirst);
  Token* last = t.card.InsertParameters(after, lineFeedFirst, parameters, std::string("n"));
  EXPECT_EQ(t.card.OutputText(), ".MODEL D1 D IS=1 ; end\n" + added + "* after\n");
  EXPECT_EQ(last->next, t.card.tokens.back());

  // The list is whole both ways and counts every token.
  std::size_t count = 0;
  const Token* previous = nullptr;
  for (const Token* token = t.card.tokens.front(); token != nullptr; token = token->next, ++count) {
    EXPECT_EQ(token->prev, previous);
    previous = token;
  }
  EXPECT_EQ(previous, t.card.tokens.back());
  EXPECT_EQ(count, t.card.tokens.size());

  ASSERT_EQ(t.card.params().size(), names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    EXPECT_EQ(t.card.params()[i].name->text, names[i]);
    EXPECT_EQ(t.card.params()[i].value->text, values[i]);
    EXPECT_EQ(t.card.params()[i].row, -1);
  }
  // An inserted line commented out, as the translation removes a copy.
  t.card.CommentOutBetween(t.card.params()[1].name, t.card.params()[1].value);
  EXPECT_NE(t.card.OutputText().find("+ P0 = P0v    ; n\n* P1 = P1v    ; n\n+ P2 = "), std::string::npos);

  // None to insert: nothing changes.
  TestCard none({".MODEL D1 D IS=1\n"});
  Token* end = none.card.tokens.back();
  EXPECT_EQ(none.card.InsertParameters(end, false, {}, std::nullopt), end);
  EXPECT_EQ(none.card.OutputText(), ".MODEL D1 D IS=1\n");
  EXPECT_FALSE(none.card.changed);
}

TEST(TextWriterTest, EveryAddedLineEndsAsTheFirstWhateverTheNotesLength) {
  // The lines after the first copy its end: with no note, and with notes
  // whose line ends take a word, two blocks, four and more to copy.
  const std::vector<KeptParameter> parameters = {KeptParameter::Of("IS", "1", TokenKind::Number),
                                                 KeptParameter::Of("BF", "100", TokenKind::Number),
                                                 KeptParameter::Of("N", "1.5", TokenKind::Number)};
  for (const std::size_t noteSize : {std::size_t{0}, std::size_t{1}, std::size_t{9}, std::size_t{30},
                                     std::size_t{60}, std::size_t{200}}) {
    std::optional<std::string> note;
    if (noteSize > 0) note = std::string(noteSize, 'n');
    const std::string end = note.has_value() ? "    ; " + *note + "\n" : "\n";
    TestCard t({".MODEL D1 D\n"});
    bool lineFeedFirst = false;
    Token* after = t.card.ParameterInsertionPoint(lineFeedFirst);
    ASSERT_NE(after, nullptr);
    t.card.InsertParameters(after, lineFeedFirst, parameters, note);
    EXPECT_EQ(t.card.OutputText(), ".MODEL D1 D\n+ IS = 1" + end + "+ BF = 100" + end + "+ N = 1.5" + end) << noteSize;
    ASSERT_EQ(t.card.params().size(), 3u) << noteSize;
    EXPECT_EQ(t.card.params()[2].value->text, "1.5") << noteSize;
    EXPECT_EQ(t.card.params()[2].value->next->text, end) << noteSize;
  }
}

TEST(TextWriterTest, UpdatingAnExistingParameterDoesNotMarkTheCardChanged) {
  TestCard t({"M1 1 2 3 4 NM\n"});
  t.card.params().push_back(ParamEntry{t.Find("M1"), t.Find("NM"), -1});
  t.card.AddParameter("m1", "X", TokenKind::Name, std::nullopt, true);
  EXPECT_FALSE(t.card.changed);
  EXPECT_EQ(t.card.Text(), "M1 1 2 3 4 X\n");
}

struct CommentCase {
  const char* label;
  std::vector<std::string> lines;
  const char* first;
  const char* last;
  std::string expected;
};

TEST(TextWriterTest, CommentsOutARunAsCommentLines) {
  const std::vector<CommentCase> cases = {
      {"statement goes on", {".MODEL D1 D IS=1 BF=2\n"}, "IS", "1",
       ".MODEL D1 D\n* IS=1 \n+ BF=2\n"},
      {"last parameter", {".MODEL D1 D IS=1\n"}, "IS", "1", ".MODEL D1 D\n* IS=1\n"},
      {"opening parenthesis", {".MODEL D1 D(IS=1 BF=2)\n"}, "IS", "1",
       ".MODEL D1 D\n* IS=1 \n+ BF=2)\n"},
      {"after a continuation mark", {".MODEL D1 D\n", "+ IS=1\n"}, "IS", "1",
       ".MODEL D1 D\n* IS=1\n"},
      {"across a line feed", {".MODEL D1 D IS=1\n", "+ BF=2 N=1\n"}, "IS", "2",
       ".MODEL D1 D\n* IS=1\n* BF=2 \n+ N=1\n"},
      {"at the end of a file without a line feed", {".MODEL D1 D IS=1"}, "IS", "1",
       ".MODEL D1 D\n* IS=1\n"},
      {"before a trailing comment line", {".MODEL D1 D IS=1\n", "* after\n"}, "IS", "1",
       ".MODEL D1 D\n* IS=1\n* after\n"},
      {"last tokens of the card", {"X1 1 2 SUB TEXT: A=9"}, "TEXT:", "9", "X1 1 2 SUB\n* TEXT: A=9\n"},
      // The line feed is in the separator after the run: the next line has a
      // mark of its own, and a comment line after the statement is no part of
      // the run.
      {"line feed in the separator after the run", {".MODEL D1 D(IS=1 FOO=2 \n", "+ RS=1)\n"}, "FOO", "2",
       ".MODEL D1 D(IS=1\n* FOO=2 \n+ RS=1)\n"},
      {"closing parenthesis before a comment line", {".MODEL D1 D(IS=1 FOO=2)\n", "* after\n"}, "FOO", "2",
       ".MODEL D1 D(IS=1\n* FOO=2)\n* after\n"},
      {"closing parenthesis before a continuation line", {".MODEL D1 D(IS=1 FOO=2)\n", "+ N=1\n"}, "FOO", "2",
       ".MODEL D1 D(IS=1\n* FOO=2)\n+ N=1\n"},
      // Nothing but the mark before the run on its line: no line is left
      // holding the mark alone.
      {"opening parenthesis after a continuation mark", {".MODEL D1 D\n", "+ (IBVL=1 IS=2)\n"}, "IBVL", "1",
       ".MODEL D1 D\n* IBVL=1 \n+ IS=2)\n"},
      {"whole continuation line in parentheses", {".MODEL D1 D\n", "+ (IBVL=1)\n", "+ IS=2\n"}, "IBVL", "1",
       ".MODEL D1 D\n* IBVL=1)\n+ IS=2\n"},
      {"comma before the run", {".MODEL D1 D(IS=1 ,FOO=2 ,N=1)\n"}, "FOO", "2",
       ".MODEL D1 D(IS=1 \n* FOO=2 \n+ ,N=1)\n"},
      // A line of a mark alone ends in the mark's own text: the walk back to
      // the run's line start stops there.
      {"after a line that holds a mark alone", {".MODEL D1 D\n", "+\n", "+ IS=1 BF=2\n"}, "IS", "1",
       ".MODEL D1 D\n+\n* IS=1 \n+ BF=2\n"},
      {"blank separator that ends its line", {".MODEL D1 D IS=1 \n", "+ BF=2\n"}, "BF", "2",
       ".MODEL D1 D IS=1 \n* BF=2\n"},
  };
  for (const CommentCase& c : cases) {
    TheDiagnosticList().Clear();
    TestCard t(c.lines);
    t.card.CommentOutBetween(t.Find(c.first), t.Find(c.last));
    EXPECT_TRUE(t.card.changed) << c.label;
    EXPECT_EQ(t.card.OutputText(), c.expected) << c.label;
    EXPECT_EQ(TheDiagnosticList().Count(), 0u) << c.label;
  }
}

TEST(TextWriterTest, CommentsOutRunsWhoseTextsFollowEachOther) {
  // Lines as an import reads them lie one after the other: a run over a line
  // feed is one text, and still makes a comment line for each line. A token
  // an edit gave a new text breaks the run's text.
  const std::vector<CommentCase> cases = {
      {"one line, code after it", {".MODEL D1 D IS=1 BF=2\n"}, "IS", "1", ".MODEL D1 D\n* IS=1 \n+ BF=2\n"},
      {"one line, its end", {".MODEL D1 D IS=1\n"}, "IS", "1", ".MODEL D1 D\n* IS=1\n"},
      {"across a line feed", {".MODEL D1 D IS=1\n", "+ BF=2 N=1\n"}, "IS", "2",
       ".MODEL D1 D\n* IS=1\n* BF=2 \n+ N=1\n"},
      {"up to a line feed and a continuation line", {".MODEL D1 D IS=1 \n", "+ BF=2\n"}, "IS", "1",
       ".MODEL D1 D\n* IS=1 \n+ BF=2\n"},
      {"after a continuation mark", {".MODEL D1 D\n", "+ IS=1 BF=2\n"}, "IS", "1",
       ".MODEL D1 D\n* IS=1 \n+ BF=2\n"},
      {"over a continuation mark", {".MODEL D1 D\n", "+ IS=1\n", "+ BF=2 N=1\n"}, "IS", "2",
       ".MODEL D1 D\n* IS=1\n* BF=2 \n+ N=1\n"},
  };
  for (const CommentCase& c : cases) {
    TestCard t(c.lines, /*oneBuffer=*/true);
    t.card.CommentOutBetween(t.Find(c.first), t.Find(c.last));
    EXPECT_EQ(t.card.OutputText(), c.expected) << c.label;
  }
  TestCard renamed({".MODEL D1 D IS=1 BF=2\n"}, /*oneBuffer=*/true);
  Token* name = renamed.Find("IS");
  renamed.card.tokens.SetText(name, "JS");
  renamed.card.CommentOutBetween(name, renamed.Find("1"));
  EXPECT_EQ(renamed.card.OutputText(), ".MODEL D1 D\n* JS=1 \n+ BF=2\n");
}

TEST(TextWriterTest, CommentsOutTwoNeighboursOneAfterTheOther) {
  TestCard t({".MODEL D1 D IS=1 BF=2 N=3\n"});
  t.card.CommentOutBetween(t.Find("IS"), t.Find("1"));
  t.card.CommentOutBetween(t.Find("BF"), t.Find("2"));
  EXPECT_EQ(t.card.OutputText(), ".MODEL D1 D\n* IS=1 \n* BF=2 \n+ N=3\n");
  t.card.AddParameter("RS", "5", TokenKind::Number, std::nullopt, false);
  EXPECT_EQ(t.card.OutputText(), ".MODEL D1 D\n* IS=1 \n* BF=2 \n+ N=3\n+ RS = 5\n");
}

TEST(TextWriterTest, CommentedRunIsItsLinesAndMarkLinkedBothWays) {
  // The comment lines and the mark take the run's place, the first of them
  // in the node of the run's first token: the list must read the same both
  // ways, each new token on the line its text came from, and later edits
  // must find their places in it.
  for (const bool oneBuffer : {false, true}) {
    TestCard t({".MODEL D1 D IS=1\n", "+ BF=2 N=1\n", "+ RS=3\n"}, oneBuffer);
    t.card.CommentOutBetween(t.Find("IS"), t.Find("2"));
    std::vector<const Token*> forward;
    for (const Token* token = t.card.tokens.front(); token != nullptr; token = token->next) forward.push_back(token);
    std::vector<const Token*> backward;
    for (const Token* token = t.card.tokens.back(); token != nullptr; token = token->prev) backward.push_back(token);
    ASSERT_EQ(forward.size(), t.card.tokens.size()) << oneBuffer;
    ASSERT_EQ(std::vector<const Token*>(backward.rbegin(), backward.rend()), forward) << oneBuffer;

    const Token* first = t.Find("* IS=1\n");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->kind, TokenKind::Comment);
    EXPECT_EQ(first->line, &t.lines[0]);
    EXPECT_EQ(first->next->text, "* BF=2 \n");
    EXPECT_EQ(first->next->kind, TokenKind::Comment);
    // Ended by a line feed written for it: on the line the run began on.
    EXPECT_EQ(first->next->line, &t.lines[0]);
    EXPECT_EQ(first->next->next->text, "+ ");
    EXPECT_EQ(first->next->next->kind, TokenKind::Continuation);

    // A commented last line counts as a comment line after the statement:
    // an added line goes before it.
    t.card.CommentOutBetween(t.Find("RS"), t.Find("3"));
    t.card.AddParameter("EG", "1.1", TokenKind::Number, std::nullopt, false);
    EXPECT_EQ(t.card.OutputText(), ".MODEL D1 D\n* IS=1\n* BF=2 \n+ N=1\n+ EG = 1.1\n* RS=3\n") << oneBuffer;
  }
}

TEST(TextWriterTest, CommentsOutAnAddedParameterAsAPlainCommentLine) {
  // The card's own last parameter goes first, then the parameter added after
  // it: no mark may be left in front of the second comment line.
  TestCard t({".MODEL CB CAP(C=2 FOO=1)\n"});
  t.card.AddParameter("TC1", "0.01", TokenKind::Number, std::string("n"), false);
  t.card.CommentOutBetween(t.Find("FOO"), t.Find("1"));
  t.card.CommentOutBetween(t.Find("TC1"), t.Find("0.01"));
  EXPECT_EQ(t.card.OutputText(), ".MODEL CB CAP(C=2\n* FOO=1)\n* TC1 = 0.01    ; n\n");
}

struct TakeAlongCase {
  const char* label;
  std::vector<std::string> lines;
  std::string expected;
  std::vector<std::string> reported;  // the unexpected tokens, in filing order
};

TEST(TextWriterTest, ReportsAndTakesAlongATokenThatCannotStartALine) {
  const std::vector<TakeAlongCase> cases = {
      {"after code", {".MODEL D1 D {IS=1 BF=2}\n"}, ".MODEL D1 D\n* {IS=1 \n+ BF=2}\n", {"{"}},
      {"two in a row", {".MODEL D1 D /{IS=1 BF=2}\n"}, ".MODEL D1 D\n* /{IS=1 \n+ BF=2}\n", {"{", "/"}},
      {"after a continuation mark", {".MODEL D1 D\n", "+ {IS=1 BF=2}\n"}, ".MODEL D1 D\n* {IS=1 \n+ BF=2}\n",
       {"{"}},
  };
  for (const TakeAlongCase& c : cases) {
    TheDiagnosticList().Clear();
    TestCard t(c.lines);
    t.card.CommentOutBetween(t.Find("IS"), t.Find("1"));
    EXPECT_EQ(t.card.OutputText(), c.expected) << c.label;
    std::vector<std::string> reported;
    TheDiagnosticList().ForEach([&](const Diagnostic& d) {
      const std::size_t open = d.text.find("card \"");
      ASSERT_NE(open, std::string::npos) << d.text;
      reported.push_back(d.text.substr(open + 6, d.text.find('"', open + 6) - open - 6));
    });
    EXPECT_EQ(reported, c.reported) << c.label;
  }
  TheDiagnosticList().Clear();
}

TEST(TextWriterTest, KeepsLongTextsWhole) {
  const std::string longValue(2000, '7');
  const std::string longNote = "Added via AKO reference from: \"" + std::string(700, 'M') + "\"";

  // A parameter of 2,000 characters, and a note line far beyond a line
  // buffer's usual size.
  TestCard added({"M1 1 2 3 4 NM\n"});
  added.card.AddParameter("L", longValue, TokenKind::Number, longNote, false);
  EXPECT_EQ(added.card.OutputText(), "M1 1 2 3 4 NM\n+ L = " + longValue + "    ; " + longNote + "\n");

  // Runs whose comment lines are longer than any fixed buffer, over
  // continuation lines.
  const std::string half(1000, '3');
  TestCard spread({".MODEL D1 D\n", "+ IS=" + half + "\n", "+ BF=" + half + " N=1\n"});
  spread.card.CommentOutBetween(spread.Find("IS"), spread.Find(half, 2));
  EXPECT_EQ(spread.card.OutputText(), ".MODEL D1 D\n* IS=" + half + "\n* BF=" + half + " \n+ N=1\n");
}

}  // namespace
}  // namespace zav
