#include "cards/parameter_sections.h"

#include "cards/card.h"
#include "cards/dialect_keywords.h"
#include "platform/ascii.h"

namespace zav {
namespace {

Token* FindFirst(const TokenList& tokens, std::string_view text) {
  for (Token* token = tokens.front(); token != nullptr; token = token->next) {
    if (EqualsNoCase(token->text, text)) return token;
  }
  return nullptr;
}

}  // namespace

void RemoveParamsKeyword(Card& card) {
  Token* params = FindFirst(card.tokens, kParamsMarker);
  if (params == nullptr) return;
  card.changed = true;
  if (card.tokenCursor() == params) card.SetTokenCursor(nullptr);
  Token* following = card.tokens.Erase(params);
  if (following == nullptr || following->kind != TokenKind::Separator) return;
  // A separator that ends the line also holds its line feed: dropping it
  // whole would pull the next line, continuation mark and all, onto this one.
  // Only the blanks before the line feed go.
  const std::size_t lineFeed = following->text.find('\n');
  if (lineFeed == std::string::npos) {
    if (card.tokenCursor() == following) card.SetTokenCursor(nullptr);
    card.tokens.Erase(following);
  } else {
    following->text.remove_prefix(lineFeed);
  }
}

void CommentOutTextSection(Card& card) {
  if (Token* text = FindFirst(card.tokens, kTextMarker)) {
    card.SetTokenCursor(nullptr);
    card.CommentOutTokens(text, card.tokens.back());
  }
}

}  // namespace zav
