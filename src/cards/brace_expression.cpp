#include "cards/brace_expression.h"

#include <array>
#include <cstddef>
#include <new>
#include <vector>

#include "platform/ascii.h"
#include "text/source_line.h"

namespace zav {
namespace {

// A comment line merged into the card or an inline comment split off a line:
// text that no statement continues into.
bool IsCommentLine(const Token& token) {
  return token.kind == TokenKind::Comment && token.line != nullptr && token.line->kind == LineKind::Comment;
}

// The end of an expression that never closes: the last non-blank character of
// the line `open` stands on. The line break stays out of it, so that the
// expression can change places within its line without taking the break along.
void EndAtLineEnd(BraceExpression& expression) {
  expression.last = expression.open;
  expression.end = expression.open->text.size();
  const SourceLine* line = expression.open->line;
  for (Token* t = expression.open->next; t != nullptr && t->line == line; t = t->next) {
    const std::size_t lineFeed = t->text.find('\n');
    const std::size_t length = lineFeed == std::string_view::npos ? t->text.size() : lineFeed;
    for (std::size_t i = length; i > 0; --i) {
      if (!IsAsciiSpace(t->text[i - 1])) {
        expression.last = t;
        expression.end = i;
        break;
      }
    }
    if (lineFeed != std::string_view::npos) break;
  }
}

// The braces still open, the innermost last: a few in place, any deeper
// ones on the heap. Expressions seldom nest, and a card that has one asks
// for its index while it is parsed: a heap block for every such card would
// cost more than the matching.
class OpenBraces {
 public:
  bool empty() const { return size_ == 0; }
  void push_back(std::ptrdiff_t index) {
    if (size_ < kInPlace) {
      inPlace_[size_] = index;
    } else {
      deeper_.push_back(index);
    }
    ++size_;
  }
  std::ptrdiff_t PopBack() {
    --size_;
    if (size_ < kInPlace) return inPlace_[size_];
    const std::ptrdiff_t index = deeper_.back();
    deeper_.pop_back();
    return index;
  }

 private:
  static constexpr std::size_t kInPlace = 16;
  std::array<std::ptrdiff_t, kInPlace> inPlace_;
  std::vector<std::ptrdiff_t> deeper_;
  std::size_t size_ = 0;
};

}  // namespace

void BraceExpressionIndex::Add(const BraceExpression& expression) {
  if (size_ < kInPlace) {
    new (&inPlace_[size_]) BraceExpression(expression);
  } else {
    more_.push_back(expression);
  }
  ++size_;
}

void BraceExpressionIndex::MatchAll(const TokenList& tokens) {
  // Every "{" still open: the index of the expression it begins, or -1 for
  // one inside a word, which begins no value but still pairs with a "}".
  OpenBraces open;
  for (Token* t = tokens.front(); t != nullptr; t = t->next) {
    if (IsCommentLine(*t)) continue;
    for (std::size_t i = 0; i < t->text.size(); ++i) {
      const char c = t->text[i];
      if (c == '{') {
        if (t->kind == TokenKind::OpenBrace) {
          Add(BraceExpression{t, nullptr, 0});
          open.push_back(static_cast<std::ptrdiff_t>(size_ - 1));
        } else {
          open.push_back(-1);
        }
      } else if (c == '}' && !open.empty()) {
        const std::ptrdiff_t index = open.PopBack();
        if (index >= 0) {
          BraceExpression& closed = At(static_cast<std::size_t>(index));
          closed.last = t;
          closed.end = i + 1;
        }
      }
    }
  }
  // Every unclosed brace of a line ends where the line's last non-blank
  // character is (each brace is one itself); the line is walked once.
  const BraceExpression* previous = nullptr;
  for (std::size_t i = 0; i < size_; ++i) {
    BraceExpression& expression = At(i);
    if (expression.last != nullptr) continue;
    if (previous != nullptr && previous->open->line == expression.open->line) {
      expression.last = previous->last;
      expression.end = previous->end;
    } else {
      EndAtLineEnd(expression);
    }
    previous = &expression;
  }
}

BraceExpression BraceExpressionIndex::Find(const TokenList& tokens, Token* open) {
  if (!built_) {
    MatchAll(tokens);
    built_ = true;
  }
  // Lookups go forward through the card: the search resumes at the last one
  // found and wraps round once for a lookup out of order.
  const std::size_t start = next_ > 0 ? next_ - 1 : 0;
  for (std::size_t n = 0; n < size_; ++n) {
    const std::size_t i = (start + n) % size_;
    if (At(i).open == open) {
      next_ = i + 1;
      return At(i);
    }
  }
  BraceExpression alone{open, open, open->text.size()};
  return alone;
}

}  // namespace zav
