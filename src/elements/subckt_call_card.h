#pragma once

#include "elements/element_card.h"

namespace zav {

// A subcircuit instance, "X": the name, any number of nodes, the name of the
// subcircuit, then optionally "PARAMS:" with parameter assignments and
// "TEXT:" with text parameters. The subcircuit name is simply the last token
// before "PARAMS:", "TEXT:" or the end of the card.
class SubcktCallCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  void Parse() override;    // the instance parse
  // Drops the "PARAMS:" keyword, which the host does not know, and turns a
  // "TEXT:" section, which it cannot translate, into comment lines.
  void Resolve() override;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
