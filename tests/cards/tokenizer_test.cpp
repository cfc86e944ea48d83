#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "cards/card.h"
#include "cards/tokenizer.h"
#include "diagnostics/diagnostic_list.h"
#include "text/source_line.h"

namespace zav {
namespace {

using Tokens = std::vector<std::pair<TokenKind, std::string>>;

constexpr TokenKind kComment = TokenKind::Comment;
constexpr TokenKind kSep = TokenKind::Separator;
constexpr TokenKind kNewline = TokenKind::Newline;
constexpr TokenKind kCont = TokenKind::Continuation;
constexpr TokenKind kKeyword = TokenKind::Keyword;
constexpr TokenKind kName = TokenKind::Name;
constexpr TokenKind kNumber = TokenKind::Number;

SourceLine MakeLine(std::string text, LineKind kind) {
  return SourceLine::MakeOwning(text, 7, kind);
}

Tokens TokensOf(const Card& card) {
  Tokens out;
  for (const Token* t = card.tokens.front(); t != nullptr; t = t->next) out.emplace_back(t->kind, t->text);
  return out;
}

Tokens Tokenize(const std::string& text, LineKind kind) {
  SourceLine line = MakeLine(text, kind);
  Card card;
  card.TokenizeLine(&line);
  for (const Token* t = card.tokens.front(); t != nullptr; t = t->next) EXPECT_EQ(t->line, &line);
  return TokensOf(card);
}

std::vector<std::string> Diagnostics() {
  std::vector<std::string> texts;
  TheDiagnosticList().ForEach([&](const Diagnostic& d) { texts.push_back(d.text); });
  return texts;
}

TEST(TokenizerTest, SplitsLinesIntoKindedTokens) {
  using namespace std::string_literals;
  struct Case {
    std::string text;
    LineKind kind;
    Tokens expected;
  };
  const std::vector<Case> cases = {
      {"R1 1 2 10\n",
       LineKind::Element,
       {{kName, "R1"}, {kSep, " "}, {kNumber, "1"}, {kSep, " "}, {kNumber, "2"}, {kSep, " "}, {kNumber, "10"},
        {kNewline, "\n"}}},
      {".MODEL QN NPN(IS=1E-16 BF=100)\n",
       LineKind::Model,
       {{kKeyword, ".MODEL"}, {kSep, " "}, {kName, "QN"}, {kSep, " "}, {kName, "NPN"}, {kSep, "("},
        {kName, "IS"}, {kSep, "="}, {kNumber, "1E-16"}, {kSep, " "}, {kName, "BF"}, {kSep, "="},
        {kNumber, "100"}, {kSep, ")\n"}}},
      {"+ IS=1\n",
       LineKind::Continuation,
       {{kCont, "+ "}, {kName, "IS"}, {kSep, "="}, {kNumber, "1"}, {kNewline, "\n"}}},
      {"   + +5\n", LineKind::Continuation, {{kCont, "   + +"}, {kNumber, "5"}, {kNewline, "\n"}}},
      {"+\n", LineKind::Continuation, {{kCont, "+\n"}}},
      {"* \"quoted\" '\x80' ; {x}\n", LineKind::Comment, {{kComment, "* \"quoted\" '\x80' ; {x}\n"}}},
      {"V(1,2)", LineKind::Element, {{kName, "V"}, {kSep, "("}, {kNumber, "1,2"}, {kSep, ")"}}},
      {"{X}", LineKind::Other, {{TokenKind::OpenBrace, "{"}, {kName, "X}"}}},
      {";,/}", LineKind::Other,
       {{TokenKind::Semicolon, ";"}, {TokenKind::Comma, ","}, {TokenKind::Slash, "/"},
        {TokenKind::CloseBrace, "}"}}},
      {"A;B c:d+e-f", LineKind::Element, {{kName, "A;B"}, {kSep, " "}, {kName, "c:d+e-f"}}},
      {".5 .END - +", LineKind::Control,
       {{kNumber, ".5"}, {kSep, " "}, {kKeyword, ".END"}, {kSep, " "}, {kNumber, "-"}, {kSep, " "},
        {kNumber, "+"}}},
      {"[a] _b ]", LineKind::Other, {{kName, "[a]"}, {kSep, " "}, {kName, "_b"}, {kSep, " "}, {kName, "]"}}},
      // A lone carriage return is white space; 0x1A and bytes above 127 are
      // ordinary bytes once a word has begun.
      {"R1 \r\t= (2\n", LineKind::Element, {{kName, "R1"}, {kSep, " \r\t= ("}, {kNumber, "2"}, {kNewline, "\n"}}},
      {"X\x1A\xE9Y 1\n", LineKind::Element, {{kName, "X\x1A\xE9Y"}, {kSep, " "}, {kNumber, "1"}, {kNewline, "\n"}}},
      {"R1 a\0b\n"s, LineKind::Element, {{kName, "R1"}, {kSep, " "}, {kName, "a\0b"s}, {kNewline, "\n"}}},
      {"\n", LineKind::Other, {{kNewline, "\n"}}},
      // A separator run after a word ends at the next word, at the end of a
      // line without its line feed, or at a line feed it takes in.
      {"R1 =( 2", LineKind::Element, {{kName, "R1"}, {kSep, " =( "}, {kNumber, "2"}}},
      {"R1 2 \t", LineKind::Element, {{kName, "R1"}, {kSep, " "}, {kNumber, "2"}, {kSep, " \t"}}},
      {"R1=\n", LineKind::Element, {{kName, "R1"}, {kSep, "=\n"}}},
      {"R1\n \n", LineKind::Element, {{kName, "R1"}, {kNewline, "\n"}, {kSep, " \n"}}},
  };
  TheDiagnosticList().Clear();
  for (const Case& c : cases) {
    EXPECT_EQ(Tokenize(c.text, c.kind), c.expected) << c.text;
  }
  EXPECT_EQ(TheDiagnosticList().Count(), 0u);
}

TEST(TokenizerTest, RejectsALineAtACharacterThatCannotStartAToken) {
  using namespace std::string_literals;
  struct Case {
    std::string text;
    Tokens kept;
  };
  const std::vector<Case> cases = {
      {". 5\n", {{kComment, ". 5\n"}}},
      {".\n", {{kComment, ".\n"}}},
      {"R1 .", {{kName, "R1"}, {kSep, " "}, {kComment, "."}}},
      {"R1 *2 3\n", {{kName, "R1"}, {kSep, " "}, {kComment, "*2 3\n"}}},
      {"R1 \"a\"\n", {{kName, "R1"}, {kSep, " "}, {kComment, "\"a\"\n"}}},
      {"R1 'a'\n", {{kName, "R1"}, {kSep, " "}, {kComment, "'a'\n"}}},
      {"R1 \xC2\xB5\n", {{kName, "R1"}, {kSep, " "}, {kComment, "\xC2\xB5\n"}}},
      {"R1 \x1A\n", {{kName, "R1"}, {kSep, " "}, {kComment, "\x1A\n"}}},
      {"R1 \0x\n"s, {{kName, "R1"}, {kSep, " "}, {kComment, "\0x\n"s}}},
      {"R1 1 2 #3\n",
       {{kName, "R1"}, {kSep, " "}, {kNumber, "1"}, {kSep, " "}, {kNumber, "2"}, {kSep, " "}, {kComment, "#3\n"}}},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    EXPECT_EQ(Tokenize(c.text, LineKind::Element), c.kept) << c.text;
    const std::vector<std::string> diagnostics = Diagnostics();
    ASSERT_EQ(diagnostics.size(), 1u) << c.text;
    EXPECT_EQ(TheDiagnosticList().First()->lineNumber, 7);
    EXPECT_NE(diagnostics[0].find("Invalid "), std::string::npos);
    EXPECT_NE(diagnostics[0].find("Could not determine the type of this token."), std::string::npos);
  }
  TheDiagnosticList().Clear();
}

TEST(TokenizerTest, ParseRetokenizesEveryLineAndGoesOnAfterARejectedOne) {
  SourceLine bad = MakeLine("R1 1 \"2\"\n", LineKind::Element);
  SourceLine comment = MakeLine("* note\n", LineKind::Comment);
  SourceLine more = MakeLine("+ 3\n", LineKind::Continuation);
  Card card;
  card.AddLine(&bad);
  card.AddLine(&comment);
  card.AddLine(&more);
  TheDiagnosticList().Clear();
  card.Parse();
  card.Parse();  // a second parse starts from scratch
  EXPECT_EQ(TheDiagnosticList().Count(), 2u);
  TheDiagnosticList().Clear();
  EXPECT_EQ(card.Text(), "R1 1 \"2\"\n* note\n+ 3\n");
  std::vector<std::string> significant;
  for (Token* t = card.FirstToken(); t != nullptr; t = card.NextToken()) significant.emplace_back(t->text);
  EXPECT_EQ(significant, (std::vector<std::string>{"R1", "1", "3"}));
  EXPECT_EQ(card.NextToken(), nullptr);  // stays at the end

  SourceLine noWords = MakeLine("{ , }\n", LineKind::Other);
  Card other;
  other.AddLine(&noWords);
  other.Parse();
  EXPECT_EQ(other.FirstToken(), nullptr);
}

// Whatever the bytes, the tokens of a line concatenate to the line, also when
// it is rejected: the rest of a rejected line is kept in one comment token.
TEST(TokenizerTest, TokensReproduceRandomLines) {
  using namespace std::string_literals;
  const std::string alphabet = "aZq09.+-_[]{};,/=() \t\r\n\x1A\x80\xFF*\"':#\0"s;
  std::mt19937 random(12345);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<int> kindPick(0, 7);
  int accepted = 0;
  for (int i = 0; i < 5000; ++i) {
    std::string text;
    for (int n = length(random); n > 0; --n) text.push_back(alphabet[pick(random)]);
    const auto kind = static_cast<LineKind>(kindPick(random));
    TheDiagnosticList().Clear();
    std::string joined;
    for (const auto& [k, t] : Tokenize(text, kind)) joined += t;
    EXPECT_EQ(joined, text);
    if (TheDiagnosticList().Count() == 0) ++accepted;
  }
  TheDiagnosticList().Clear();
  EXPECT_GT(accepted, 100);
}

// Classification cuts lines into their words only: they must be the very
// tokens (the same views) a full cut gives, less separators, line feeds,
// continuation marks and single characters other than braces.
TEST(TokenizerTest, WordsAreTheFullCutLessWhatNoParseReads) {
  using namespace std::string_literals;
  const std::string alphabet = "aZq09.+-_[]{};,/=() \t\r\n\x1A\x80*\"\0"s;
  std::mt19937 random(777);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> length(0, 40);
  std::uniform_int_distribution<int> kindPick(0, 7);
  for (int i = 0; i < 5000; ++i) {
    std::string text;
    for (int n = length(random); n > 0; --n) text.push_back(alphabet[pick(random)]);
    SourceLine line = MakeLine(text, static_cast<LineKind>(kindPick(random)));
    // Every other line as ngspice cuts it, with brace expressions whole
    // (an open one carried over from the line before), and every third cut
    // after a line already in the list.
    const bool ngspice = i % 2 == 1;
    int allBraces = ngspice && i % 4 == 1 ? 1 : 0;
    int wordBraces = allBraces;
    SourceLine before = MakeLine("X1 a {b\n", LineKind::Element);
    TokenList all;
    TokenList words;
    if (i % 3 == 0) {
      AppendLineTokens(before, all);
      AppendLineWords(before, words);
    }
    const std::size_t allBefore = all.size();
    const std::size_t wordsBefore = words.size();
    TheDiagnosticList().Clear();
    AppendLineTokens(line, all, ngspice ? &allBraces : nullptr);
    const std::vector<std::string> full = Diagnostics();
    TheDiagnosticList().Clear();
    AppendLineWords(line, words, ngspice ? &wordBraces : nullptr);
    EXPECT_EQ(Diagnostics(), full) << text;
    EXPECT_EQ(wordBraces, allBraces) << text;
    // The list's links and count agree whichever way its tokens came.
    for (const TokenList* list : {&all, &words}) {
      std::size_t linked = 0;
      const Token* last = nullptr;
      for (const Token* t = list->front(); t != nullptr; t = t->next) {
        EXPECT_EQ(t->prev, last);
        last = t;
        ++linked;
      }
      EXPECT_EQ(list->back(), last);
      EXPECT_EQ(list->size(), linked);
    }
    for (std::size_t n = 0; n < allBefore; ++n) all.Erase(all.front());
    for (std::size_t n = 0; n < wordsBefore; ++n) words.Erase(words.front());
    std::vector<std::pair<TokenKind, std::string_view>> expected;
    for (const Token* t = all.front(); t != nullptr; t = t->next) {
      const bool read = IsSignificant(t->kind) || t->kind == TokenKind::OpenBrace ||
                        t->kind == TokenKind::CloseBrace || t->kind == TokenKind::Comment;
      if (read) expected.emplace_back(t->kind, t->text);
    }
    std::vector<std::pair<TokenKind, std::string_view>> got;
    for (const Token* t = words.front(); t != nullptr; t = t->next) got.emplace_back(t->kind, t->text);
    ASSERT_EQ(got.size(), expected.size()) << text;
    for (std::size_t n = 0; n < got.size(); ++n) {
      EXPECT_EQ(got[n].first, expected[n].first) << text;
      EXPECT_EQ(got[n].second.data(), expected[n].second.data()) << text;
      EXPECT_EQ(got[n].second.size(), expected[n].second.size()) << text;
    }
  }
  TheDiagnosticList().Clear();
}

}  // namespace
}  // namespace zav
