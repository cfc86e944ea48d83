#pragma once

#include "elements/element_card.h"

namespace zav {

// A diode, "D": two pins, the model name and an optional area.
class DiodeCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
