#pragma once

#include "elements/element_card.h"

namespace zav {

// A current-controlled switch, "W": two switched nodes, the voltage source
// whose current controls it, and the model name.
class CurrentSwitchCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
