#pragma once

#include <string_view>

#include "cards/token_kind.h"

namespace zav {

struct SourceLine;

// One token of a card. The texts of a card's tokens, concatenated in order,
// are the card's text. Tokens form a doubly linked list owned by their card's
// TokenList, so that edits in the middle of a card cost O(1) and pointers to
// tokens stay valid while other tokens come and go.
//
// `text` is a view: of the line the token was cut from (lines outlive their
// cards), of a string literal, or of text the card's TokenList owns. Give a
// token new text through TokenList::SetText unless the new text is a literal
// or another token's text of the same card.
struct Token {
  std::string_view text;
  // The line the token came from, or the line a created token is attributed
  // to. Diagnostics about the token quote it.
  SourceLine* line = nullptr;
  Token* prev = nullptr;
  Token* next = nullptr;
  TokenKind kind = TokenKind::Comment;
};

}  // namespace zav
