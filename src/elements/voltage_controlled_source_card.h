#pragma once

#include "elements/element_card.h"

namespace zav {

// A voltage-controlled source, "E" or "G". Only the linear form (control
// nodes and a gain) and the POLY form can be translated; the behavioural forms
// are rejected. Nothing of the card is recorded.
class VoltageControlledSourceCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  void Parse() override;  // the form check

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
