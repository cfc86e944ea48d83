#pragma once

namespace zav {

class Card;

// The "PARAMS:" and "TEXT:" sections that .SUBCKT cards and subcircuit
// instances share. The target takes parameter assignments without the
// "PARAMS:" keyword, and has no "TEXT:" parameters at all.

// For ngspice, which stops reading a subcircuit at a comma between two
// assignments ("PARAMS: A=1, B=2"): removes the commas of the section after
// the first "PARAMS:" token, up to "TEXT:" or the end of the card, outside
// brace expressions. A comma between two words becomes a blank. Files info 44
// at the first one's line.
void RemoveParameterCommas(Card& card);

// Deletes the first "PARAMS:" token (any case) and the separator after it.
void RemoveParamsKeyword(Card& card);

// Turns the first "TEXT:" token (any case) and everything after it on the card
// into comment lines.
void CommentOutTextSection(Card& card);

}  // namespace zav
