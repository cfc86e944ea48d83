#include "cards/parameter_sections.h"

#include <string>
#include <string_view>

#include "cards/card.h"
#include "cards/dialect_keywords.h"
#include "diagnostics/add_diagnostic.h"
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

void RemoveParameterCommas(Card& card) {
  Token* params = FindFirst(card.tokens, kParamsMarker);
  if (params == nullptr) return;
  const SourceLine* first = nullptr;
  for (Token* token = params->next; token != nullptr && !EqualsNoCase(token->text, kTextMarker);) {
    Token* next = token->next;
    const bool isBrace = !token->text.empty() && token->text.front() == '{';
    if (token->kind == TokenKind::Comma) {
      if (first == nullptr) first = token->line;
      const bool blankAround = (token->prev != nullptr && token->prev->kind == TokenKind::Separator) ||
                               next == nullptr || next->kind == TokenKind::Separator;
      if (card.tokenCursor() == token) card.SetTokenCursor(nullptr);
      if (blankAround) {
        card.tokens.Erase(token);
      } else {
        token->text = " ";
        token->kind = TokenKind::Separator;
      }
    } else if (!isBrace && IsSignificant(token->kind) && token->text.find(',') != std::string_view::npos) {
      if (first == nullptr) first = token->line;
      // "1," before a blank loses its comma; "1,B" (no blank) gets one.
      std::string text;
      const std::string_view old = token->text;
      for (std::size_t i = 0; i < old.size(); ++i) {
        if (old[i] != ',') {
          text += old[i];
        } else if (i + 1 < old.size()) {
          text += ' ';
        }
      }
      card.tokens.SetText(token, text);
    }
    token = next;
  }
  if (first == nullptr) return;
  card.changed = true;
  AddDiagnostic(MessageCode::ParameterCommasRemoved, first);
}

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
