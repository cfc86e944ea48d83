#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cards/token_list.h"
#include "models/value_commas.h"

namespace zav {
namespace {

struct Piece {
  TokenKind kind;
  std::string text;
  bool operator==(const Piece&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Piece& piece) {
  return out << static_cast<int>(piece.kind) << ":" << piece.text;
}

std::vector<Piece> Pieces(const TokenList& tokens) {
  std::vector<Piece> pieces;
  for (const Token* t = tokens.front(); t != nullptr; t = t->next) pieces.push_back({t->kind, std::string(t->text)});
  return pieces;
}

TEST(ValueCommasTest, SplitsAValueFromTheNextNameOnlyOutsideBraces) {
  constexpr TokenKind N = TokenKind::Number;
  constexpr TokenKind C = TokenKind::Comma;
  constexpr TokenKind A = TokenKind::Name;
  struct Case {
    std::string word;
    int depth;
    std::vector<Piece> expected;  // empty: left whole
  };
  const std::vector<Case> cases = {
      {"1E-16,BF", 0, {{N, "1E-16"}, {C, ","}, {A, "BF"}}},
      {"1,_X1", 0, {{N, "1"}, {C, ","}, {A, "_X1"}}},
      {"1,", 0, {{N, "1"}, {C, ","}}},
      // A comma before a number joins two values of one parameter.
      {"0.01,0.02", 0, {}},
      {"0.01,-2", 0, {}},
      {"0.01,0.02,TC2", 0, {{N, "0.01,0.02"}, {C, ","}, {A, "TC2"}}},
      {"1,{X}", 0, {}},
      {"1,,BF", 0, {{N, "1,"}, {C, ","}, {A, "BF"}}},
      // Inside braces a comma belongs to the expression.
      {"1e-11,KFX}", 1, {}},
      {"1{A,B}", 0, {}},
      {"X},BF", 1, {{N, "X}"}, {C, ","}, {A, "BF"}}},
      {"X}},BF", 1, {{N, "X}}"}, {C, ","}, {A, "BF"}}},
      {"400", 0, {}},
  };
  for (const Case& c : cases) {
    TokenList tokens;
    Token* value = tokens.PushBackBorrowed(N, c.word, nullptr);
    const bool split = SplitValueAtComma(tokens, value, c.depth);
    EXPECT_EQ(split, !c.expected.empty()) << c.word;
    const std::vector<Piece> expected = c.expected.empty() ? std::vector<Piece>{{N, c.word}} : c.expected;
    EXPECT_EQ(Pieces(tokens), expected) << c.word;
    std::string joined;
    for (const Piece& piece : Pieces(tokens)) joined += piece.text;
    EXPECT_EQ(joined, c.word);
  }
}

TEST(ValueCommasTest, HoldsCommaFindsACommaAtEveryPlaceOfAnyLength) {
  // Each word in a block of its own size, so that a read past its end shows
  // under the address sanitizer.
  for (std::size_t size = 0; size <= 20; ++size) {
    for (std::size_t comma = 0; comma <= size; ++comma) {  // `size`: none
      const auto block = std::make_unique<char[]>(size);
      for (std::size_t i = 0; i < size; ++i) block[i] = i == comma ? ',' : static_cast<char>('A' + i % 26);
      EXPECT_EQ(HoldsComma(std::string_view(block.get(), size)), comma < size) << size << " " << comma;
    }
  }
  // A byte that differs from a comma in one bit only is no comma.
  EXPECT_FALSE(HoldsComma("\x2D\x0C\xAC"));
  EXPECT_FALSE(HoldsComma("1E-16\xAC"));
}

TEST(ValueCommasTest, BraceDepthCountsEveryTokenOnceAndSkipsComments) {
  TokenList tokens;
  Token* open = tokens.PushBackBorrowed(TokenKind::OpenBrace, "{", nullptr);
  Token* word = tokens.PushBackBorrowed(TokenKind::Name, "A{B}", nullptr);
  Token* comment = tokens.PushBackBorrowed(TokenKind::Comment, "* }}}\n", nullptr);
  Token* close = tokens.PushBackBorrowed(TokenKind::CloseBrace, "}", nullptr);
  Token* stray = tokens.PushBackBorrowed(TokenKind::CloseBrace, "}", nullptr);
  Token* last = tokens.PushBackBorrowed(TokenKind::Number, "1", nullptr);

  BraceDepth depth(open);
  EXPECT_EQ(depth.At(open), 0);
  EXPECT_EQ(depth.At(word), 1);
  EXPECT_EQ(depth.At(comment), 1);
  EXPECT_EQ(depth.At(close), 1);
  EXPECT_EQ(depth.At(stray), 0);
  // A stray closing brace opens nothing.
  EXPECT_EQ(depth.At(last), 0);
}

}  // namespace
}  // namespace zav
