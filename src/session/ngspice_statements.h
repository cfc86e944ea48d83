#pragma once

#include "cards/line_list.h"

namespace zav {

class CardStore;

// Whether a card is a statement that ngspice reads as the dialect writes it
// and that the translation for ngspice therefore passes through untouched:
// ".PARAM" and ".FUNC", which define the names the "{...}" expressions of
// models, elements and subcircuit headers use. Only the first word of the
// card's first statement line is looked at, before the card is tokenized, so
// that an expression written without braces ("A = 2*B") is never cut.
bool IsNgspiceStatement(const LineList& lines);

// Writes the brace expressions of such a statement's lines in ngspice's
// spelling (see RewriteForNgspice), filing info 42 or warning 43 at the line;
// a line that changes keeps its new text in `store`.
void RewriteStatementExpressions(const LineList& lines, CardStore& store);

}  // namespace zav
