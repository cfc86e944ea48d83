#pragma once

#include <string>

#include "cards/token_kind.h"

namespace zav {

struct SourceLine;

// One token of a card. The texts of a card's tokens, concatenated in order,
// are the card's text. Tokens form a doubly linked list owned by their card's
// TokenList, so that edits in the middle of a card cost O(1) and pointers to
// tokens stay valid while other tokens come and go.
struct Token {
  TokenKind kind = TokenKind::Comment;
  std::string text;
  // The line the token came from, or the line a created token is attributed
  // to. Diagnostics about the token quote it.
  SourceLine* line = nullptr;
  Token* prev = nullptr;
  Token* next = nullptr;
};

}  // namespace zav
