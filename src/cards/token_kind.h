#pragma once

#include <cstdint>

namespace zav {

// Keyword, Name and Number are the significant kinds: the only ones that
// Card::FirstToken and Card::NextToken return. Values 5, 7 and 8 are unused.
enum class TokenKind : int32_t {
  Comment = 1,       // the whole text of a comment line; generated comment text
  Separator = 2,     // a run of white space, "=", "(" and ")"
  Newline = 3,       // a line feed that begins a token
  Continuation = 4,  // the leading white space and "+" of a continuation line
  Semicolon = 6,     // ";"
  OpenBrace = 9,     // "{"
  CloseBrace = 10,   // "}"
  Comma = 11,        // ","
  Slash = 12,        // "/"
  Keyword = 13,      // "." followed by a letter, such as ".MODEL"
  Name = 14,         // begins with a letter, "[", "]" or "_"
  Number = 15,       // begins with a digit, "+" or "-", or "." and a digit
};

// The significant kinds are the three highest, so that one comparison tells
// them: every walk over a card's tokens asks it of each token it passes.
constexpr bool IsSignificant(TokenKind kind) { return kind >= TokenKind::Keyword; }
static_assert(TokenKind::Keyword < TokenKind::Name && TokenKind::Name < TokenKind::Number);

}  // namespace zav
