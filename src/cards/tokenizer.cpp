#include "cards/tokenizer.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "cards/ngspice_expression.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
#include "text/source_line.h"

namespace zav {
namespace {

// White space, "=", "(" and ")" end a word and make up separator runs: the
// dialect writes "IS=1E-16" and "NPN(IS=1)" without blanks.
constexpr bool IsSeparatorByte(char c) { return IsAsciiSpace(c) || c == '=' || c == '(' || c == ')'; }

// What a character at the start of a token makes, by byte value: lines are
// scanned a byte at a time, and the table keeps that to one load per byte.
enum class Start : std::uint8_t {
  Invalid,    // no token starts with it
  LineFeed,   // a Newline token of its own
  Separator,  // a separator run
  Single,     // a token of one character: ";", "{", "}", "," or "/"
  Dot,        // a Keyword or a Number by the character after it
  Name,       // a letter, "[", "]" or "_"
  Number,     // a digit, "+" or "-"
};

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

constexpr Start StartOf(char c) {
  if (c == '\n') return Start::LineFeed;
  for (const SingleCharToken& row : kSingleCharTokens) {
    if (row.c == c) return Start::Single;
  }
  if (IsSeparatorByte(c)) return Start::Separator;
  if (c == '.') return Start::Dot;
  if (IsAsciiAlpha(c) || c == '[' || c == ']' || c == '_') return Start::Name;
  if (IsAsciiDigit(c) || c == '+' || c == '-') return Start::Number;
  // There is no quoting and no escape: a quotation mark, a "*" inside a
  // statement, a byte outside ASCII or a NUL cannot start a token.
  return Start::Invalid;
}

struct ByteTables {
  std::array<Start, 256> start{};
  std::array<bool, 256> separator{};
  std::array<TokenKind, 256> single{};
};

constexpr ByteTables kTables = [] {
  ByteTables tables;
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    tables.start[static_cast<std::size_t>(b)] = StartOf(c);
    tables.separator[static_cast<std::size_t>(b)] = IsSeparatorByte(c);
    tables.single[static_cast<std::size_t>(b)] = TokenKind::Comment;
  }
  for (const SingleCharToken& row : kSingleCharTokens) tables.single[static_cast<unsigned char>(row.c)] = row.kind;
  return tables;
}();

inline bool IsSeparatorChar(char c) { return kTables.separator[static_cast<unsigned char>(c)]; }

// Whether a parse reads tokens of this kind (see AppendLineWords).
constexpr bool IsWordKind(TokenKind kind) {
  return IsSignificant(kind) || kind == TokenKind::OpenBrace || kind == TokenKind::CloseBrace ||
         kind == TokenKind::Comment;
}

// Cuts a line into tokens and hands each to `emit` with its kind and text
// (with `wordsOnly`, only those IsWordKind takes). At a character that
// cannot start a token the line is rejected: the tokens before it stay, and
// the rejection is reported when `report` is set.
//
// `endsInSeparator` tells that the text's last character is a separator (a
// line read whole ends in its line feed): every word then ends before the end
// of the text, and its scan need not look for it.
template <bool wordsOnly, bool endsInSeparator, typename Emit>
void ScanText(const SourceLine& line, std::string_view text, Emit&& emit, bool report, int* openBraces) {
  const char* const begin = text.data();
  const std::size_t size = text.size();
  std::size_t pos = 0;
  if (line.kind == LineKind::Continuation) {
    // Blanks and plus signs alike: "+ +5" continues the card with the number 5.
    while (pos < size && (IsAsciiSpace(begin[pos]) || begin[pos] == '+')) ++pos;
    if (!wordsOnly) emit(TokenKind::Continuation, text.substr(0, pos));
    if (openBraces != nullptr && *openBraces > 0) {
      // The rest of an expression the line before left open.
      const std::size_t end = BraceExpressionEnd(text, pos, *openBraces);
      if (end > pos) emit(TokenKind::Number, text.substr(pos, end - pos));
      pos = end;
    }
  } else if (openBraces != nullptr) {
    *openBraces = 0;
  }

  // A word extends to the first separator character or the end of the text;
  // everything else, ",", ";" and ":" included, is part of a word once it has
  // begun.
  auto wordEnd = [&](std::size_t start) {
    std::size_t end = start + 1;
    if constexpr (endsInSeparator) {
      while (!IsSeparatorChar(begin[end])) ++end;
    } else {
      while (end < size && !IsSeparatorChar(begin[end])) ++end;
    }
    return end;
  };

  while (pos < size) {
    const char c = begin[pos];
    std::size_t end = pos + 1;
    TokenKind kind = TokenKind::Comment;
    switch (kTables.start[static_cast<unsigned char>(c)]) {
      case Start::LineFeed:
        kind = TokenKind::Newline;
        break;
      case Start::Single:
        kind = kTables.single[static_cast<unsigned char>(c)];
        if (kind == TokenKind::OpenBrace && openBraces != nullptr) {
          *openBraces = 0;
          end = BraceExpressionEnd(text, pos, *openBraces);
          kind = TokenKind::Number;
        }
        break;
      case Start::Separator:
        while (end < size && IsSeparatorChar(begin[end])) ++end;
        kind = TokenKind::Separator;
        break;
      case Start::Dot:
        if (pos + 1 < size && IsAsciiDigit(begin[pos + 1])) {
          end = wordEnd(pos);
          kind = TokenKind::Number;
          break;
        }
        if (pos + 1 < size && IsAsciiAlpha(begin[pos + 1])) {
          end = wordEnd(pos);
          kind = TokenKind::Keyword;
          break;
        }
        [[fallthrough]];
      case Start::Invalid:
        // The rest of the line is not tokenized: it is kept whole in one
        // comment token that no parser looks at, so that a card rebuilt from
        // its tokens after an edit still gives back every character of the
        // line.
        if (report) AddDiagnostic(MessageCode::InvalidCharacter, &line, {line.text.view()});
        emit(TokenKind::Comment, text.substr(pos));
        return;
      case Start::Name:
        end = wordEnd(pos);
        kind = TokenKind::Name;
        break;
      case Start::Number:
        end = wordEnd(pos);
        kind = TokenKind::Number;
        break;
    }
    if (!wordsOnly || IsWordKind(kind)) emit(kind, std::string_view(begin + pos, end - pos));
    pos = end;
  }
}

template <bool wordsOnly, typename Emit>
void ScanLine(const SourceLine& line, Emit&& emit, bool report = true, int* openBraces = nullptr) {
  const std::string_view text = line.text;
  if (line.kind == LineKind::Comment) {
    emit(TokenKind::Comment, text);
    return;
  }
  if (!text.empty() && IsSeparatorChar(text.back())) {
    ScanText<wordsOnly, true>(line, text, emit, report, openBraces);
  } else {
    ScanText<wordsOnly, false>(line, text, emit, report, openBraces);
  }
}

}  // namespace

void AppendLineTokens(SourceLine& line, TokenList& tokens, int* openBraces) {
  ScanLine<false>(
      line, [&](TokenKind kind, std::string_view text) { tokens.PushBackBorrowed(kind, text, &line); }, true,
      openBraces);
}

void AppendLineWords(SourceLine& line, TokenList& tokens, int* openBraces) {
  ScanLine<true>(
      line, [&](TokenKind kind, std::string_view text) { tokens.PushBackBorrowed(kind, text, &line); }, true,
      openBraces);
}

std::size_t CountLineTokens(const SourceLine& line) {
  std::size_t count = 0;
  ScanLine<false>(line, [&count](TokenKind, std::string_view) { ++count; }, false);
  return count;
}

}  // namespace zav
