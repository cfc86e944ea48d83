#pragma once

#include <string_view>

#include "cards/token.h"
#include "cards/token_list.h"
#include "platform/ascii_words.h"
#include "platform/byte_search.h"

namespace zav {

// How deep in braces a card's text stands at a token, for tokens asked about
// in list order: each token is counted once, so a walk over a whole card
// stays linear. A stray "}" opens nothing: the depth never drops below 0.
class BraceDepth {
 public:
  // Counting begins at `from`, at depth 0.
  explicit BraceDepth(const Token* from) : next_(from) {}

  // The depth at the start of `token`, which is `from` or a token after the
  // one asked about last.
  int At(const Token* token);

 private:
  const Token* next_;
  int depth_ = 0;
};

// The dialect lets a comma separate model parameters ("IS=1E-16,BF=400"), but
// a comma does not end a word, so the value and the next name come as one
// word. Given a value word and the brace depth at its start, splits it at the
// first comma outside braces that either ends the word or stands before a
// name: the value keeps the text before the comma, and a Comma token and,
// unless the comma ended the word, a Name token with the rest follow it. The
// texts still read as the word did. A comma before a number joins two values
// of one parameter ("TC=0.01,0.02") and stays in the word. Returns whether the
// word was split.
bool SplitValueAtComma(TokenList& tokens, Token* value, int depth);

// Whether a word holds a comma: only such a word may split. Asked of every
// value a model card has; most are a few bytes long, and one word of eight
// bytes holds them whole (LoadShort: its other bytes are zero or repeat the
// text's).
inline bool HoldsComma(std::string_view word) {
  if (word.size() - 1 < 8) return byte_search::FirstMatch(ascii_words::LoadShort(word.data(), word.size()), ',') != 0;
  return FindByte(word.data(), word.data() + word.size(), ',') != word.data() + word.size();
}

}  // namespace zav
