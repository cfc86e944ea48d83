#pragma once

#include "elements/element_card.h"

namespace zav {

// An independent source, "I" or "V", or a digital stimulus, "U". Sources
// driven by stimulus files or stimulus definitions cannot be translated and
// are rejected; every other form passes as written. Nothing of the card is
// recorded.
class IndependentSourceCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  void Parse() override;  // the keyword check

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
