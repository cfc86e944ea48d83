#pragma once

#include <cstddef>

#include "cards/token_list.h"

namespace zav {

class LineList;
struct SourceLine;

// Cuts one line into tokens whose texts, concatenated, are the line exactly,
// and appends them to `tokens`; the tokens borrow the line's text. A comment
// line is one Comment token. At a character that cannot start a token the
// line is rejected with diagnostic 12: the tokens before it stay, and the rest
// of the line is kept in one Comment token that no parser reads.
//
// For ngspice, which evaluates "{...}" expressions where the dialect does, the
// caller passes `openBraces` (0 at the start of a card, kept from line to
// line): a brace expression is then one Number token, a value like any other
// whatever operators and functions it holds, through its matching "}" or to
// the line's end; on the card's next continuation line, what remains of it up
// to the matching "}" is one more Number token.
void AppendLineTokens(SourceLine& line, TokenList& tokens, int* openBraces = nullptr);

// The same cut, appending only the tokens a parse reads: the significant ones
// (Keyword, Name, Number), the braces, and the comment texts. The separators,
// line feeds, continuation marks, ";", "," and "/" are left out: a card that
// is classified, and not yet edited, needs its words but not the text
// between them. Diagnostic 12 is filed as by AppendLineTokens.
void AppendLineWords(SourceLine& line, TokenList& tokens, int* openBraces = nullptr);

// AppendLineTokens and AppendLineWords for each of a card's lines in order,
// `openBraces` kept from line to line: the same tokens, with the list's ends
// and the pool's free nodes taken once for the card rather than once a line.
void AppendCardTokens(const LineList& lines, TokenList& tokens, int* openBraces = nullptr);
void AppendCardWords(const LineList& lines, TokenList& tokens, int* openBraces = nullptr);

}  // namespace zav
