#include "cards/tokenizer.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "cards/line_list.h"
#include "cards/ngspice_expression.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
#include "text/source_line.h"

namespace zav {
namespace {

// White space, "=", "(" and ")" end a word and make up separator runs: the
// dialect writes "IS=1E-16" and "NPN(IS=1)" without blanks.
constexpr bool IsSeparatorByte(char c) { return IsAsciiSpace(c) || c == '=' || c == '(' || c == ')'; }

struct SingleCharToken {
  char c;
  TokenKind kind;
};

constexpr SingleCharToken kSingleCharTokens[] = {
    {';', TokenKind::Semicolon},
    {'{', TokenKind::OpenBrace},
    {'}', TokenKind::CloseBrace},
    {',', TokenKind::Comma},
    {'/', TokenKind::Slash},
};

// The kind of the token a character starts: a Name or a Number (a word), a
// Separator run, a Newline, a single-character token; for ".", Keyword,
// which it starts followed by a letter (followed by a digit it starts a
// Number, else none); and Comment for a character that starts no token, the
// kind of what the rest of its line becomes. There is no quoting and no
// escape: a quotation mark, a "*" inside a statement, a byte outside ASCII
// or a NUL cannot start a token.
constexpr TokenKind StartKindOf(char c) {
  if (c == '\n') return TokenKind::Newline;
  for (const SingleCharToken& row : kSingleCharTokens) {
    if (row.c == c) return row.kind;
  }
  if (IsSeparatorByte(c)) return TokenKind::Separator;
  if (c == '.') return TokenKind::Keyword;
  if (IsAsciiAlpha(c) || c == '[' || c == ']' || c == '_') return TokenKind::Name;
  if (IsAsciiDigit(c) || c == '+' || c == '-') return TokenKind::Number;
  return TokenKind::Comment;
}

// A word's two kinds are the highest: one comparison tells a word start.
static_assert(TokenKind::Number > TokenKind::Keyword && TokenKind::Name > TokenKind::Keyword);
constexpr bool IsWordStart(TokenKind kind) { return kind > TokenKind::Keyword; }

// By byte value: lines are scanned a byte at a time, and the tables keep
// that to one load per byte.
struct ByteTables {
  std::array<bool, 256> separator{};
  std::array<TokenKind, 256> startKind{};
};

constexpr ByteTables kTables = [] {
  ByteTables tables;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    tables.separator[static_cast<std::size_t>(b)] = IsSeparatorByte(c);
    tables.startKind[static_cast<std::size_t>(b)] = StartKindOf(c);
  }
  return tables;
}();

inline bool IsSeparatorChar(char c) { return kTables.separator[static_cast<unsigned char>(c)]; }

// Whether a parse reads tokens of this kind (see AppendLineWords).
constexpr bool IsWordKind(TokenKind kind) {
  return IsSignificant(kind) || kind == TokenKind::OpenBrace || kind == TokenKind::CloseBrace ||
         kind == TokenKind::Comment;
}

// A word extends to the first separator character or the end of the text;
// everything else, ",", ";" and ":" included, is part of a word once it has
// begun. With `endsInSeparator` (the text's last character is a separator,
// as a line read whole ends in its line feed) every word ends before the end
// of the text, and the scan need not look for it.
template <bool endsInSeparator>
inline const char* WordEnd(const char* start, const char* limit) {
  const char* end = start + 1;
  if constexpr (endsInSeparator) {
    // Two characters a turn: most words are longer than one, and the loop's
    // own step and jump are then paid half as often.
    while (!IsSeparatorChar(end[0])) {
      if (IsSeparatorChar(end[1])) return end + 1;
      end += 2;
    }
  } else {
    while (end != limit && !IsSeparatorChar(*end)) ++end;
  }
  return end;
}

// Appends the tokens of `p` up to `limit` (with `wordsOnly`, only those
// IsWordKind takes) and returns where it stopped: at `limit`; where a token
// would begin and `out` has no free node left; at a character that starts no
// token; or, with `bracesAreValues`, at a "{". It calls nothing, so that the
// compiler can keep the appender's fields and the scan's pointers in
// registers: nearly every token of a file is made here, and its cost is a
// few loads and stores.
template <bool wordsOnly, bool endsInSeparator>
[[gnu::noinline]] const char* ScanRun(const char* p, const char* const limit, SourceLine* const line,
                                      TokenList::BorrowedAppender& out, const bool bracesAreValues) {
  Token* tail = out.tail;
  Token* freeNodes = out.freeNodes;
  std::size_t added = out.added;
  auto append = [&](TokenKind kind, const char* begin, const char* end) {
    Token* token = freeNodes;
    freeNodes = token->next;
    TokenList::BorrowedAppender::Append(token, kind, std::string_view(begin, static_cast<std::size_t>(end - begin)),
                                        line, tail);
    ++added;
  };
  while (p != limit) {
    if constexpr (wordsOnly) {
      // Separator runs and line feeds make no word: passed over here, not
      // cut into tokens that would be left out. A character a turn, so that
      // the loop's own test of the end is the only one.
      if (IsSeparatorChar(*p)) {
        ++p;
        continue;
      }
    }
    if (freeNodes == nullptr) break;
    TokenKind kind = kTables.startKind[static_cast<unsigned char>(*p)];
    const char* end = p + 1;
    if (IsWordStart(kind)) {
      end = WordEnd<endsInSeparator>(p, limit);
      append(kind, p, end);
      p = end;
      if constexpr (!wordsOnly) {
        // A word ends at a separator character or at the end of the text, so
        // what follows it is a line feed or a separator run: cut here, as
        // the dispatch below would, without a turn of its own. (In a text
        // that ends in a separator, no word reaches the end.)
        if ((!endsInSeparator && p == limit) || freeNodes == nullptr) continue;
        kind = kTables.startKind[static_cast<unsigned char>(*p)];
        end = p + 1;
        if (kind == TokenKind::Separator) {
          while (end != limit && IsSeparatorChar(*end)) ++end;
        }
        append(kind, p, end);
        p = end;
      } else if constexpr (endsInSeparator) {
        // The separator character that ended the word (the text ends in
        // one, so there is one) is passed over at once.
        ++p;
      }
      continue;
    }
    if (!wordsOnly && kind == TokenKind::Separator) {
      while (end != limit && IsSeparatorChar(*end)) ++end;
    } else if (kind == TokenKind::Keyword) {
      // A ".": a Keyword before a letter, a Number before a digit.
      if (end != limit && IsAsciiDigit(*end)) {
        kind = TokenKind::Number;
      } else if (end == limit || !IsAsciiAlpha(*end)) {
        break;
      }
      end = WordEnd<endsInSeparator>(p, limit);
    } else if (kind == TokenKind::Comment || (kind == TokenKind::OpenBrace && bracesAreValues)) {
      break;
    } else if (wordsOnly && !IsWordKind(kind)) {
      // A line feed, or a single-character token a parse does not read.
      p = end;
      continue;
    }
    // A line feed, or a single-character token, is the one character.
    append(kind, p, end);
    p = end;
  }
  out.tail = tail;
  out.freeNodes = freeNodes;
  out.added = added;
  return p;
}

// Cuts a line's text into tokens and appends them to `out` (with
// `wordsOnly`, only those IsWordKind takes). At a character that cannot
// start a token the line is rejected: the tokens before it stay, and the
// rejection is reported.
template <bool wordsOnly, bool endsInSeparator>
void ScanText(SourceLine& line, std::string_view text, TokenList::BorrowedAppender& out, int* openBraces) {
  const char* const begin = text.data();
  const char* const limit = begin + text.size();
  const char* p = begin;
  if (line.kind == LineKind::Continuation) {
    // Blanks and plus signs alike: "+ +5" continues the card with the number 5.
    while (p != limit && (IsAsciiSpace(*p) || *p == '+')) ++p;
    if (!wordsOnly) out.Push(TokenKind::Continuation, std::string_view(begin, static_cast<std::size_t>(p - begin)), &line);
    if (openBraces != nullptr && *openBraces > 0) {
      // The rest of an expression the line before left open.
      const std::size_t pos = static_cast<std::size_t>(p - begin);
      const std::size_t end = BraceExpressionEnd(text, pos, *openBraces);
      if (end > pos) out.Push(TokenKind::Number, text.substr(pos, end - pos), &line);
      p = begin + end;
    }
  } else if (openBraces != nullptr) {
    *openBraces = 0;
  }

  while (p != limit) {
    p = ScanRun<wordsOnly, endsInSeparator>(p, limit, &line, out, openBraces != nullptr);
    if (p == limit) return;
    if (out.freeNodes == nullptr) {
      out.Refill();
      continue;
    }
    if (*p == '{') {
      // For ngspice a brace expression is one value.
      *openBraces = 0;
      const std::size_t pos = static_cast<std::size_t>(p - begin);
      const std::size_t end = BraceExpressionEnd(text, pos, *openBraces);
      out.Push(TokenKind::Number, text.substr(pos, end - pos), &line);
      p = begin + end;
      continue;
    }
    // The rest of the line is not tokenized: it is kept whole in one comment
    // token that no parser looks at, so that a card rebuilt from its tokens
    // after an edit still gives back every character of the line.
    AddDiagnostic(MessageCode::InvalidCharacter, &line, {line.text.view()});
    out.Push(TokenKind::Comment, std::string_view(p, static_cast<std::size_t>(limit - p)), &line);
    return;
  }
}

template <bool wordsOnly>
void ScanLine(SourceLine& line, TokenList::BorrowedAppender& out, int* openBraces) {
  const std::string_view text = line.text;
  if (line.kind == LineKind::Comment) {
    out.Push(TokenKind::Comment, text, &line);
    return;
  }
  if (!text.empty() && IsSeparatorChar(text.back())) {
    ScanText<wordsOnly, true>(line, text, out, openBraces);
  } else {
    ScanText<wordsOnly, false>(line, text, out, openBraces);
  }
}

template <bool wordsOnly>
void ScanLines(const LineList& lines, TokenList& tokens, int* openBraces) {
  TokenList::BorrowedAppender out(tokens);
  for (SourceLine* line : lines) ScanLine<wordsOnly>(*line, out, openBraces);
}

}  // namespace

void AppendLineTokens(SourceLine& line, TokenList& tokens, int* openBraces) {
  TokenList::BorrowedAppender out(tokens);
  ScanLine<false>(line, out, openBraces);
}

void AppendLineWords(SourceLine& line, TokenList& tokens, int* openBraces) {
  TokenList::BorrowedAppender out(tokens);
  ScanLine<true>(line, out, openBraces);
}

void AppendCardTokens(const LineList& lines, TokenList& tokens, int* openBraces) {
  ScanLines<false>(lines, tokens, openBraces);
}

void AppendCardWords(const LineList& lines, TokenList& tokens, int* openBraces) {
  ScanLines<true>(lines, tokens, openBraces);
}

}  // namespace zav
