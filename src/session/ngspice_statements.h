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

// Passes such a statement through: its code lines become comment lines to
// the rest of the pipeline, as they are, except that their brace expressions
// are written in ngspice's spelling (see RewriteForNgspice), with info 42 or
// warning 43 at the line; a line that changes keeps its new text in `store`.
// Lines that were comment lines already (a stray line, an inline comment)
// stay as they are.
void PassStatementThrough(const LineList& lines, CardStore& store);

}  // namespace zav
