#pragma once

#include <cstddef>

#include "cards/token_list.h"

namespace zav {

struct SourceLine;

// Cuts one line into tokens whose texts, concatenated, are the line exactly,
// and appends them to `tokens`; the tokens borrow the line's text. A comment
// line is one Comment token. At a character that cannot start a token the
// line is rejected with diagnostic 12: the tokens before it stay, and the rest
// of the line is kept in one Comment token that no parser reads.
void AppendLineTokens(SourceLine& line, TokenList& tokens);

// The same cut, appending only the tokens a parse reads: the significant ones
// (Keyword, Name, Number), the braces, and the comment texts. The separators,
// line feeds, continuation marks, ";", "," and "/" are left out: a card that
// is classified, and not yet edited, needs its words but not the text
// between them. Diagnostic 12 is filed as by AppendLineTokens.
void AppendLineWords(SourceLine& line, TokenList& tokens);

// The number of tokens AppendLineTokens makes of the line; reports nothing.
std::size_t CountLineTokens(const SourceLine& line);

}  // namespace zav
