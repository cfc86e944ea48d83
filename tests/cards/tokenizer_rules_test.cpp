// The tokenizer's loops take shortcuts (a word is not checked against the end
// of a text that ends in a separator, nodes are made ready once a line and
// not asked for at each token): whatever the text, the cut must be the one the rules give applied a
// character at a time, with the end of the text checked everywhere. Texts
// are owned by their lines in blocks of their exact size, so that a sanitized
// build catches a read past one.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "cards/line_list.h"
#include "cards/ngspice_expression.h"
#include "cards/tokenizer.h"
#include "diagnostics/diagnostic_list.h"
#include "text/source_line.h"

namespace zav {
namespace {

// A token as the text it views (not a copy of it) and its line.
struct Cut {
  TokenKind kind;
  const char* data;
  std::size_t size;
  const SourceLine* line;
  bool operator==(const Cut&) const = default;
};

void PrintTo(const Cut& cut, std::ostream* out) {
  *out << static_cast<int>(cut.kind) << ":\"" << std::string_view(cut.data, cut.size) << "\"";
}

bool IsSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == '=' || c == '(' ||
         c == ')';
}
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The rules, a character at a time. Returns whether the line was rejected.
bool CutByTheRules(const SourceLine& line, int* openBraces, std::vector<Cut>& cuts) {
  const std::string_view text = line.text;
  const std::size_t n = text.size();
  auto add = [&](TokenKind kind, std::size_t begin, std::size_t end) {
    cuts.push_back({kind, text.data() + begin, end - begin, &line});
  };
  if (line.kind == LineKind::Comment) {
    add(TokenKind::Comment, 0, n);
    return false;
  }
  std::size_t p = 0;
  if (line.kind == LineKind::Continuation) {
    const auto blank = [](char c) { return IsSeparator(c) && c != '=' && c != '(' && c != ')'; };
    while (p < n && (text[p] == '+' || blank(text[p]))) ++p;
    add(TokenKind::Continuation, 0, p);
    if (openBraces != nullptr && *openBraces > 0) {
      const std::size_t end = BraceExpressionEnd(text, p, *openBraces);
      if (end > p) add(TokenKind::Number, p, end);
      p = end;
    }
  } else if (openBraces != nullptr) {
    *openBraces = 0;
  }
  while (p < n) {
    const char c = text[p];
    std::size_t end = p + 1;
    const auto word = [&](TokenKind kind) {
      while (end < n && !IsSeparator(text[end])) ++end;
      add(kind, p, end);
    };
    const char next = end < n ? text[end] : '\0';
    if (c == '\n') {
      add(TokenKind::Newline, p, end);
    } else if (IsSeparator(c)) {
      while (end < n && IsSeparator(text[end])) ++end;
      add(TokenKind::Separator, p, end);
    } else if (c == '{' && openBraces != nullptr) {
      *openBraces = 0;
      end = BraceExpressionEnd(text, p, *openBraces);
      add(TokenKind::Number, p, end);
    } else if (c == ';' || c == '{' || c == '}' || c == ',' || c == '/') {
      add(c == ';'   ? TokenKind::Semicolon
          : c == '{' ? TokenKind::OpenBrace
          : c == '}' ? TokenKind::CloseBrace
          : c == ',' ? TokenKind::Comma
                     : TokenKind::Slash,
          p, end);
    } else if (IsLetter(c) || c == '[' || c == ']' || c == '_') {
      word(TokenKind::Name);
    } else if (IsDigit(c) || c == '+' || c == '-' || (c == '.' && end < n && IsDigit(next))) {
      word(TokenKind::Number);
    } else if (c == '.' && end < n && IsLetter(next)) {
      word(TokenKind::Keyword);
    } else {
      add(TokenKind::Comment, p, n);
      return true;
    }
    p = end;
  }
  return false;
}

// Lines built of the pieces model files are made of, and of the odd
// characters they should not hold.
std::string RandomLine(std::mt19937& random) {
  static const std::vector<std::string> kPieces = {
      "R1", "IS", "1E-15", "x", "Q", "_a", "[b]", "-", "+", "+5", ".5", ".MODEL", ".", ". ", "a,b", "c;d", "e/f",
      "{RLOAD*2.3}", "{", "}", ";", ",", "/", " ", "  ", "=", "(", ")", " = ", "\t", "\r", "\n", " \n",
      "*", "\"", "'", "\x80", std::string(1, '\0'), "\x1A", "#", "longerwordwithmanycharacters"};
  std::uniform_int_distribution<std::size_t> piece(0, kPieces.size() - 1);
  std::uniform_int_distribution<int> count(0, 24);
  std::string text;
  for (int n = count(random); n > 0; --n) text += kPieces[piece(random)];
  if (random() % 8 == 0) text += std::string(random() % 600, random() % 2 == 0 ? 'w' : ' ');
  if (random() % 4 != 0) text += '\n';
  return text;
}

std::vector<Cut> CutsOf(const TokenList& list) {
  std::vector<Cut> cuts;
  const Token* last = nullptr;
  for (const Token* t = list.front(); t != nullptr; t = t->next) {
    EXPECT_EQ(t->prev, last);
    last = t;
    cuts.push_back({t->kind, t->text.data(), t->text.size(), t->line});
  }
  EXPECT_EQ(list.back(), last);
  EXPECT_EQ(list.size(), cuts.size());
  return cuts;
}

// Cards of several lines (a run of line records, as an import's, or lines
// listed one by one), each cut whole into a list that holds a few tokens
// already, from pools whose blocks hold a node or three, so that the room
// made for a line spans many blocks. The pool counts its free nodes right
// throughout: the count decides how far a scan may go.
TEST(TokenizerRules, TheCutIsTheRulesAppliedACharacterAtATime) {
  std::mt19937 random(2027);
  std::uniform_int_distribution<int> kindPick(0, 7);
  std::uniform_int_distribution<std::size_t> lineCount(1, 4);
  for (int i = 0; i < 4000; ++i) {
    const bool ngspice = i % 2 == 1;
    std::vector<SourceLine> lines;
    const std::size_t count = lineCount(random);
    for (std::size_t n = 0; n < count; ++n) {
      const auto kind = static_cast<LineKind>(kindPick(random));
      lines.push_back(SourceLine::MakeOwning(RandomLine(random), static_cast<int32_t>(n), kind));
    }
    LineList card;
    if (i % 4 < 2) {
      card.Borrow(lines.data(), lines.size());
    } else {
      for (SourceLine& line : lines) card.push_back(&line);
    }
    SourceLine before = SourceLine::MakeOwning("X1 a b\n", 99, LineKind::Element);

    std::vector<Cut> expected;
    int ruleBraces = 0;
    std::size_t rejected = 0;
    if (i % 3 == 0) CutByTheRules(before, ngspice ? &ruleBraces : nullptr, expected);
    for (const SourceLine& line : lines) {
      if (CutByTheRules(line, ngspice ? &ruleBraces : nullptr, expected)) ++rejected;
    }

    TokenPool pool(1 + i % 3, 3);
    TokenList tokens;
    tokens.Reset(&pool);
    int braces = 0;
    if (i % 3 == 0) AppendLineTokens(before, tokens, ngspice ? &braces : nullptr);
    TheDiagnosticList().Clear();
    AppendCardTokens(card, tokens, ngspice ? &braces : nullptr);
    EXPECT_EQ(TheDiagnosticList().Count(), rejected);
    EXPECT_EQ(braces, ruleBraces);
    const std::vector<Cut> got = CutsOf(tokens);
    ASSERT_EQ(got, expected) << i;
    // The words' cut of the same card, into a list of the same pool: the
    // tokens a parse reads, the same views.
    if (i % 3 != 0) {
      std::vector<Cut> words;
      for (const Cut& cut : expected) {
        if (IsSignificant(cut.kind) || cut.kind == TokenKind::OpenBrace || cut.kind == TokenKind::CloseBrace ||
            cut.kind == TokenKind::Comment) {
          words.push_back(cut);
        }
      }
      TokenList wordList;
      wordList.Reset(&pool);
      int wordBraces = 0;
      AppendCardWords(card, wordList, ngspice ? &wordBraces : nullptr);
      ASSERT_EQ(CutsOf(wordList), words) << i;
    }
    tokens.Release();
    std::size_t freeCount = 0;
    std::size_t chained = 0;
    for (const Token* t = pool.TakeFreeNodes(freeCount); t != nullptr; t = t->next) ++chained;
    ASSERT_EQ(freeCount, chained) << i;
  }
  TheDiagnosticList().Clear();
}

}  // namespace
}  // namespace zav
