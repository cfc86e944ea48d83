#include "models/value_commas.h"

#include <string_view>

#include "platform/ascii.h"

namespace zav {
namespace {

int CountBraces(int depth, std::string_view text) {
  for (char c : text) {
    if (c == '{') {
      ++depth;
    } else if (c == '}' && depth > 0) {
      --depth;
    }
  }
  return depth;
}

// The characters a Name token begins with.
bool StartsName(char c) { return IsAsciiAlpha(c) || c == '[' || c == ']' || c == '_'; }

}  // namespace

int BraceDepth::At(const Token* token) {
  for (; next_ != nullptr && next_ != token; next_ = next_->next) {
    // Comment text is no part of the statement.
    if (next_->kind != TokenKind::Comment) depth_ = CountBraces(depth_, next_->text);
  }
  return depth_;
}

bool SplitValueAtComma(TokenList& tokens, Token* value, int depth) {
  const std::string_view text = value->text;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '{' || c == '}') {
      depth = CountBraces(depth, text.substr(i, 1));
      continue;
    }
    if (c != ',' || depth != 0) continue;
    const bool endsWord = i + 1 == text.size();
    if (!endsWord && !StartsName(text[i + 1])) continue;

    // The new tokens view the same text the word viewed.
    value->text = text.substr(0, i);
    Token* comma = tokens.InsertAfter(value, TokenKind::Comma, {}, value->line);
    comma->text = text.substr(i, 1);
    if (!endsWord) {
      Token* name = tokens.InsertAfter(comma, TokenKind::Name, {}, value->line);
      name->text = text.substr(i + 1);
    }
    return true;
  }
  return false;
}

}  // namespace zav
