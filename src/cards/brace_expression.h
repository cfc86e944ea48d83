#pragma once

#include <cstddef>
#include <vector>

#include "cards/token.h"
#include "cards/token_list.h"

namespace zav {

// A "{...}" expression: one value, whatever it holds. The tokenizer cuts it
// into many tokens ("{1/(6.28*X)}" gives "{", "1/", "(", "6.28*X", ")" and
// "}"), so its extent is found again by counting braces in the token texts,
// words like "X}" and the rest of a rejected line included.
struct BraceExpression {
  Token* open = nullptr;  // the OpenBrace token it begins with
  Token* last = nullptr;  // the token it ends in; may be `open` itself
  // How much of last's text belongs to the expression: up to its matching
  // close brace, which need not end the token ("*POLE)}" and a line feed in
  // one rejected rest).
  std::size_t end = 0;
};

// The brace expressions of one card that begin at an OpenBrace token, matched
// in one pass over all its tokens when first asked for. An expression ends at
// its matching close brace, counted over every token of the statement (comment
// lines standing in the card are no part of it); one that never closes ends
// at the last non-blank character of its own line.
class BraceExpressionIndex {
 public:
  // The expression that begins at `open`, an OpenBrace token of `tokens`.
  // Asked in token order, each lookup takes amortised constant time.
  BraceExpression Find(const TokenList& tokens, Token* open);

 private:
  std::vector<BraceExpression> expressions_;  // in the order of their open braces
  std::size_t next_ = 0;
  bool built_ = false;
};

}  // namespace zav
