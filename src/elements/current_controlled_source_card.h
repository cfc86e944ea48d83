#pragma once

#include "elements/element_card.h"

namespace zav {

// A current-controlled source, "F" or "H". The token after the two output
// nodes (the controlling voltage source) is read as a model name, so that an
// element is linked to a model of that name when one exists. Gains and
// polynomial coefficients are left as written.
class CurrentControlledSourceCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
