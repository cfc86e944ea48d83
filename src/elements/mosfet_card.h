#pragma once

#include "elements/element_card.h"

namespace zav {

// A MOSFET, "M": drain, gate, source and bulk, the model name, then the
// geometry fields written as KEYWORD=value. The keywords are matched with
// their letter case and only in this order.
class MosfetCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;
};

}  // namespace zav
