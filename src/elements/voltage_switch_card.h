#pragma once

#include "elements/element_card.h"

namespace zav {

// A voltage-controlled switch, "S": two switched nodes, the two controlling
// nodes and the model name.
class VoltageSwitchCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  // For ngspice: node pairs written "(n1,n2)", which ngspice does not read in
  // a switch, become "n1 n2".
  void Resolve() override;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
