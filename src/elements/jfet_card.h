#pragma once

#include "elements/element_card.h"

namespace zav {

// A junction FET, "J": drain, gate and source, the model name and an
// optional area.
class JfetCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
