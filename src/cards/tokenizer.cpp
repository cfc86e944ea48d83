#include "cards/tokenizer.h"

#include <array>
#include <string_view>

#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
#include "text/source_line.h"

namespace zav {
namespace {

// White space, "=", "(" and ")" end a word and make up separator runs: the
// dialect writes "IS=1E-16" and "NPN(IS=1)" without blanks.
constexpr bool IsSeparatorByte(char c) { return IsAsciiSpace(c) || c == '=' || c == '(' || c == ')'; }

// The same as a table over all 256 byte values: words are scanned a byte at a
// time, and the table keeps that loop to one load per byte.
constexpr auto kSeparatorBytes = [] {
  std::array<bool, 256> table{};
  for (int b = 0; b < 256; ++b) table[static_cast<std::size_t>(b)] = IsSeparatorByte(static_cast<char>(b));
  return table;
}();

inline bool IsSeparatorChar(char c) { return kSeparatorBytes[static_cast<unsigned char>(c)]; }

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

const SingleCharToken* FindSingleCharToken(char c) {
  for (const SingleCharToken& row : kSingleCharTokens) {
    if (row.c == c) return &row;
  }
  return nullptr;
}

// The end of the word that starts at `start`: the first separator character
// or the end of the text. Everything else, ",", ";" and ":" included, is part
// of a word once it has begun.
std::size_t WordEnd(std::string_view text, std::size_t start) {
  std::size_t end = start + 1;
  while (end < text.size() && !IsSeparatorChar(text[end])) ++end;
  return end;
}

// Cuts a line into tokens and hands each to `emit` with its kind and text.
// At a character that cannot start a token the line is rejected: the tokens
// before it stay, and the rejection is reported when `report` is set.
template <typename Emit>
void ScanLine(const SourceLine& line, Emit&& emit, bool report = true) {
  const std::string_view text = line.text;
  if (line.kind == LineKind::Comment) {
    emit(TokenKind::Comment, text);
    return;
  }

  std::size_t pos = 0;
  if (line.kind == LineKind::Continuation) {
    // Blanks and plus signs alike: "+ +5" continues the card with the number 5.
    while (pos < text.size() && (IsAsciiSpace(text[pos]) || text[pos] == '+')) ++pos;
    emit(TokenKind::Continuation, text.substr(0, pos));
  }

  while (pos < text.size()) {
    const char c = text[pos];
    std::size_t end = pos + 1;
    TokenKind kind;

    if (c == '\n') {
      kind = TokenKind::Newline;
    } else if (const SingleCharToken* single = FindSingleCharToken(c)) {
      kind = single->kind;
    } else if (IsSeparatorChar(c)) {
      while (end < text.size() && IsSeparatorChar(text[end])) ++end;
      kind = TokenKind::Separator;
    } else if (c == '.' && pos + 1 < text.size() && IsAsciiDigit(text[pos + 1])) {
      end = WordEnd(text, pos);
      kind = TokenKind::Number;
    } else if (c == '.' && pos + 1 < text.size() && IsAsciiAlpha(text[pos + 1])) {
      end = WordEnd(text, pos);
      kind = TokenKind::Keyword;
    } else if (IsAsciiAlpha(c) || c == '[' || c == ']' || c == '_') {
      end = WordEnd(text, pos);
      kind = TokenKind::Name;
    } else if (IsAsciiDigit(c) || c == '+' || c == '-') {
      end = WordEnd(text, pos);
      kind = TokenKind::Number;
    } else {
      // There is no quoting and no escape: a quotation mark, a "*" inside a
      // statement, a byte outside ASCII or a NUL cannot start a token. The
      // rest of the line is not tokenized: it is kept whole in one comment
      // token that no parser looks at, so that a card rebuilt from its tokens
      // after an edit still gives back every character of the line.
      if (report) AddDiagnostic(MessageCode::InvalidCharacter, &line, {line.text});
      emit(TokenKind::Comment, text.substr(pos));
      return;
    }

    emit(kind, text.substr(pos, end - pos));
    pos = end;
  }
}

}  // namespace

void AppendLineTokens(SourceLine& line, TokenList& tokens) {
  ScanLine(line, [&](TokenKind kind, std::string_view text) { tokens.PushBackBorrowed(kind, text, &line); });
}

std::size_t CountLineTokens(const SourceLine& line) {
  std::size_t count = 0;
  ScanLine(line, [&count](TokenKind, std::string_view) { ++count; }, false);
  return count;
}

}  // namespace zav
