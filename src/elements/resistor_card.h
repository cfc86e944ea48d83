#pragma once

#include "elements/value_element_card.h"

namespace zav {

// A resistor, "R": two pins, an optional model name, the resistance, and the
// temperature coefficients TC=tc1 with an optional positional tc2.
class ResistorCard : public ValueElementCard {
 public:
  using ValueElementCard::ValueElementCard;

  // The value and model swap; for ngspice, which knows no "TC" and reads no
  // comma there, the coefficients become "TC1=tc1 TC2=tc2".
  void Resolve() override;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
