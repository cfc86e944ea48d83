#pragma once

#include <cstddef>

#include "cards/token.h"

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

}  // namespace zav
