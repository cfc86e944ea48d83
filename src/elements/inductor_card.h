#pragma once

#include "elements/value_element_card.h"

namespace zav {

// An inductor, "L": two pins, an optional model name, the inductance and an
// optional initial condition.
class InductorCard : public ValueElementCard {
 public:
  using ValueElementCard::ValueElementCard;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
