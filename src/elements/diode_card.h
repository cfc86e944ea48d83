#pragma once

#include "elements/element_card.h"

namespace zav {

// A diode, "D": two pins, the model name and an optional area.
class DiodeCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  // For ngspice, which takes a diode's area only as "area=" (a number after
  // the model name is an error there), the positional area gets the keyword.
  void Resolve() override;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
