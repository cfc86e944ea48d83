#pragma once

#include <cstddef>
#include <vector>

#include "cards/brace_value.h"
#include "cards/token.h"
#include "cards/token_list.h"

namespace zav {


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
