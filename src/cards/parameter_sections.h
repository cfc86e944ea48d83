#pragma once

namespace zav {

class Card;

// The "PARAMS:" and "TEXT:" sections that .SUBCKT cards and subcircuit
// instances share. The target takes parameter assignments without the
// "PARAMS:" keyword, and has no "TEXT:" parameters at all.

// Deletes the first "PARAMS:" token (any case) and the separator after it.
void RemoveParamsKeyword(Card& card);

// Turns the first "TEXT:" token (any case) and everything after it on the card
// into comment lines.
void CommentOutTextSection(Card& card);

}  // namespace zav
