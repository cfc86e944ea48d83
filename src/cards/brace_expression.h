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
  BraceExpressionIndex() {}  // the slots in place are set as they are filled
  // The expression that begins at `open`, an OpenBrace token of `tokens`.
  // Asked in token order, each lookup takes amortised constant time.
  BraceExpression Find(const TokenList& tokens, Token* open);

 private:
  void MatchAll(const TokenList& tokens);
  BraceExpression& At(std::size_t index) { return index < kInPlace ? inPlace_[index] : more_[index - kInPlace]; }
  void Add(const BraceExpression& expression);

  // The expressions in the order of their open braces: the first few in
  // place, any more on the heap. A card with an expression has one or two,
  // and its parse asks for them: a heap block each time would cost more
  // than the matching. Left unset until filled (an index is made for every
  // parse, most of which never ask).
  static constexpr std::size_t kInPlace = 4;
  union {
    BraceExpression inPlace_[kInPlace];
  };
  std::vector<BraceExpression> more_;
  std::size_t size_ = 0;
  std::size_t next_ = 0;
  bool built_ = false;
};

}  // namespace zav
