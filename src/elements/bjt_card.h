#pragma once

#include "elements/element_card.h"

namespace zav {

// A bipolar transistor, "Q": collector, base and emitter, an optional
// substrate node, the model name and an optional area. The substrate node may
// be written in brackets ("[sub]") so that it cannot be mistaken for the model
// name; the host expects it without them.
class BjtCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  // Removes the brackets around a fourth pin written "[node]".
  void Resolve() override;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
