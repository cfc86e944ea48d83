#pragma once

#include "elements/value_element_card.h"

namespace zav {

// A capacitor, "C": two pins, an optional model name, the capacitance and an
// optional initial condition.
class CapacitorCard : public ValueElementCard {
 public:
  using ValueElementCard::ValueElementCard;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
