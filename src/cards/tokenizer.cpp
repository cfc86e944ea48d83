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

// The appender's fields as locals of a card's scan: nearly every token of a
// file is made here, and holding them in registers keeps a token's cost to
// a few stores. Nothing the scan calls sees this struct (it would have to
// live in memory then): the appender is closed around any call.
//
// A line of n characters makes n + 1 tokens at most (every token but the
// text of an empty comment line holds a character): the scan makes room
// for that many once a line, and no append asks whether a node is left.
struct Appending {
  TokenList::BorrowedAppender appender;

  explicit Appending(TokenList& tokens) : appender(tokens) {}

  void MakeRoom(std::size_t count) {
    if (appender.room >= count) [[likely]] return;
    appender.Close();
    appender.pool().Reserve(count);
    appender.Open();
  }
  // Needs a node (see MakeRoom). The node's `next` is already the node
  // after it (see TokenList::BorrowedAppender), which the token after this
  // one takes.
  void Append(TokenKind kind, const char* begin, const char* end, SourceLine* line) {
    Token* token = appender.freeNodes;
    appender.freeNodes = token->next;
    token->text = std::string_view(begin, static_cast<std::size_t>(end - begin));
    token->line = line;
    token->kind = kind;
    token->prev = appender.tail;
    appender.tail = token;
    --appender.room;
  }
};

// Cuts the tokens of `p` up to `limit`, where the character before `limit`
// is a separator (the scan ends at it otherwise: see ScanLine), and appends
// them (with `wordsOnly`, those IsWordKind takes). Returns where it stopped:
// at `limit`; at a character that starts no token (a "." included that
// neither a letter nor a digit follows); or, with `bracesAreValues`, at a
// "{". As the separator before `limit` ends every word begun before it,
// neither a word nor the character after a "." is checked against the end.
// The loop calls nothing, so that the compiler may keep what it works with
// in registers that a call would take.
template <bool wordsOnly>
[[gnu::always_inline]] inline const char* ScanToSeparator(const char* p, const char* const limit,
                                                         SourceLine* const line, Appending& out,
                                                         const bool bracesAreValues) {
  while (p != limit) {
  // A separator run of the full cut that stops at a character that is no
  // separator has text after it: it jumps here, past the loop's test (the
  // words' cut has no jump here).
  nextToken:
    __attribute__((unused));
    TokenKind kind = kTables.startKind[static_cast<unsigned char>(*p)];
    const char* end = p + 1;
    if (IsWordStart(kind)) [[likely]] {
      // Two characters a turn: most words are longer than one, and the
      // loop's own step and jump are then paid half as often.
      while (!IsSeparatorChar(end[0])) {
        if (IsSeparatorChar(end[1])) {
          ++end;
          break;
        }
        end += 2;
      }
      out.Append(kind, p, end, line);
      if constexpr (wordsOnly) {
        // The separator that ended the word is passed over at once.
        p = end + 1;
        continue;
      } else {
        // What ends a word is a line feed or a separator run: cut here, as
        // the dispatch below would, without a turn of its own.
        p = end;
        ++end;
        if (*p == '\n') {
          out.Append(TokenKind::Newline, p, end, line);
          p = end;
          continue;
        }
        while (end != limit && IsSeparatorChar(*end)) ++end;
        out.Append(TokenKind::Separator, p, end, line);
        p = end;
        // A run that stops before `limit` stops at a character that is no
        // separator: the loop's own test of the end is passed over then.
        if (end != limit) goto nextToken;
        return end;
      }
    }
    if (kind == TokenKind::Separator || (wordsOnly && kind == TokenKind::Newline)) {
      if constexpr (wordsOnly) {
        // Separator runs and line feeds make no word: passed over a
        // character a turn, so that the loop's own test of the end is the
        // only one.
        p = end;
        continue;
      }
      while (end != limit && IsSeparatorChar(*end)) ++end;
    } else if (kind == TokenKind::Keyword) {
      // A ".": a Keyword before a letter, a Number before a digit.
      if (IsAsciiDigit(*end)) {
        kind = TokenKind::Number;
      } else if (!IsAsciiAlpha(*end)) {
        return p;
      }
      while (!IsSeparatorChar(*end)) ++end;
    } else if (kind == TokenKind::Comment || (kind == TokenKind::OpenBrace && bracesAreValues)) {
      return p;
    } else if (wordsOnly && !IsWordKind(kind)) {
      // A single-character token a parse does not read.
      p = end;
      continue;
    }
    // A line feed, or a single-character token, is the one character.
    out.Append(kind, p, end, line);
    p = end;
  }
  return p;
}

// The same for the rest of a text after its last separator (of a line
// without its line feed, or cut off in the middle of a word):
// single-character tokens, and at most one word, which runs to the end.
template <bool wordsOnly>
[[gnu::always_inline]] inline const char* ScanAfterSeparators(const char* p, const char* const limit,
                                                             SourceLine* const line, Appending& out,
                                                             const bool bracesAreValues) {
  while (p != limit) {
    TokenKind kind = kTables.startKind[static_cast<unsigned char>(*p)];
    if (kind == TokenKind::Keyword) {
      if (p + 1 == limit || !(IsAsciiDigit(p[1]) || IsAsciiAlpha(p[1]))) return p;
      if (IsAsciiDigit(p[1])) kind = TokenKind::Number;
    }
    if (IsWordStart(kind) || kind == TokenKind::Keyword) {
      out.Append(kind, p, limit, line);
      return limit;
    }
    if (kind == TokenKind::Comment || (kind == TokenKind::OpenBrace && bracesAreValues)) return p;
    if (!wordsOnly || IsWordKind(kind)) out.Append(kind, p, p + 1, line);
    ++p;
  }
  return p;
}

// Cuts a line into tokens and appends them to `out` (with `wordsOnly`, only
// those IsWordKind takes). At a character that cannot start a token the
// line is rejected: the tokens before it stay, and the rejection is
// reported. With `braces` (for ngspice: see AppendLineTokens),
// `openBraces` is the count of braces open.
template <bool wordsOnly, bool braces>
[[gnu::always_inline]] inline void ScanLine(SourceLine& line, Appending& out, int* const openBraces) {
  const char* const begin = line.text.data();
  const char* const limit = begin + line.text.size();
  out.MakeRoom(line.text.size() + 1);
  if (line.kind == LineKind::Comment) {
    out.Append(TokenKind::Comment, begin, limit, &line);
    return;
  }
  const char* p = begin;
  if (line.kind == LineKind::Continuation) {
    // Blanks and plus signs alike: "+ +5" continues the card with the number 5.
    while (p != limit && (IsAsciiSpace(*p) || *p == '+')) ++p;
    if (!wordsOnly) out.Append(TokenKind::Continuation, begin, p, &line);
    if (braces && *openBraces > 0) {
      // The rest of an expression the line before left open.
      const std::size_t pos = static_cast<std::size_t>(p - begin);
      const char* end = begin + BraceExpressionEnd(line.text, pos, *openBraces);
      if (end != p) out.Append(TokenKind::Number, p, end, &line);
      p = end;
    }
  } else if (braces) {
    *openBraces = 0;
  }

  // Up to the last separator, every word ends at a separator: the scan
  // need not look for the end of the text within a word. A line read whole
  // ends in its line feed, so that this is the whole line.
  const char* lastSeparatorEnd = limit;
  while (lastSeparatorEnd > p && !IsSeparatorChar(lastSeparatorEnd[-1])) --lastSeparatorEnd;
  for (;;) {
    if (p < lastSeparatorEnd) {
      p = ScanToSeparator<wordsOnly>(p, lastSeparatorEnd, &line, out, braces);
      // A line read whole ends there.
      if (p == limit) return;
      if (p == lastSeparatorEnd) continue;
    } else {
      if (p == limit) return;
      p = ScanAfterSeparators<wordsOnly>(p, limit, &line, out, braces);
      if (p == limit) return;
    }
    if (braces && *p == '{') {
      // For ngspice a brace expression is one value.
      *openBraces = 0;
      const std::size_t pos = static_cast<std::size_t>(p - begin);
      const char* end = begin + BraceExpressionEnd(line.text, pos, *openBraces);
      out.Append(TokenKind::Number, p, end, &line);
      p = end;
      continue;
    }
    // The rest of the line is not tokenized: it is kept whole in one comment
    // token that no parser looks at, so that a card rebuilt from its tokens
    // after an edit still gives back every character of the line.
    out.appender.Close();
    AddDiagnostic(MessageCode::InvalidCharacter, &line, {line.text.view()});
    out.appender.Open();
    out.Append(TokenKind::Comment, p, limit, &line);
    return;
  }
}

template <bool wordsOnly>
void ScanOneLine(SourceLine& line, TokenList& tokens, int* openBraces) {
  Appending out(tokens);
  if (openBraces != nullptr) {
    ScanLine<wordsOnly, true>(line, out, openBraces);
  } else {
    ScanLine<wordsOnly, false>(line, out, nullptr);
  }
  out.appender.Close();
}

// A card's lines, each cut by its own copy of the scan for the host and for
// ngspice: the host's need not ask whether braces are values. An import's
// card is a run of line records, stepped through by a pointer; any other
// list has a copy of the scan of its own, as such cards are few.
template <bool wordsOnly, bool braces>
[[gnu::noinline]] void ScanListedLines(const LineList& lines, TokenList& tokens, int* openBraces) {
  Appending out(tokens);
  for (SourceLine* line : lines) ScanLine<wordsOnly, braces>(*line, out, openBraces);
  out.appender.Close();
}

template <bool wordsOnly, bool braces>
void ScanLines(const LineList& lines, TokenList& tokens, int* openBraces) {
  SourceLine* line = lines.run();
  if (line == nullptr) {
    ScanListedLines<wordsOnly, braces>(lines, tokens, openBraces);
    return;
  }
  Appending out(tokens);
  for (SourceLine* const end = line + lines.size(); line != end; ++line) {
    ScanLine<wordsOnly, braces>(*line, out, openBraces);
  }
  out.appender.Close();
}

}  // namespace

void AppendLineTokens(SourceLine& line, TokenList& tokens, int* openBraces) {
  ScanOneLine<false>(line, tokens, openBraces);
}

void AppendLineWords(SourceLine& line, TokenList& tokens, int* openBraces) {
  ScanOneLine<true>(line, tokens, openBraces);
}

void AppendCardTokens(const LineList& lines, TokenList& tokens, int* openBraces) {
  if (openBraces != nullptr) {
    ScanLines<false, true>(lines, tokens, openBraces);
  } else {
    ScanLines<false, false>(lines, tokens, nullptr);
  }
}

void AppendCardWords(const LineList& lines, TokenList& tokens, int* openBraces) {
  if (openBraces != nullptr) {
    ScanLines<true, true>(lines, tokens, openBraces);
  } else {
    ScanLines<true, false>(lines, tokens, nullptr);
  }
}

}  // namespace zav
