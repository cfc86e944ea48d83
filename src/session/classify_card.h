#pragma once

#include <memory>

namespace zav {

class Card;

// Derives the typed card that takes the place of a generic, tokenized card:
// an element, model, .SUBCKT or .ENDS card. This is the one place that knows
// every kind of card, which is why it lives with the session and not with
// the card base. None, after a diagnostic, when the
// card cannot be classified or its typed parse rejects it. `wholeText`:
// whether the card holds every token of its text, not only its words (see
// Card::ParseWords); a model card may then be translated with them right
// away, and its parse notes what the translation reads.
std::unique_ptr<Card> ClassifyCard(Card& card, bool wholeText = false);

}  // namespace zav
