#pragma once

#include "elements/element_card.h"

namespace zav {

// A voltage-controlled source, "E" or "G". Only the linear form (control
// nodes and a gain) and the POLY form can be translated for the host; the
// behavioural forms are rejected. ngspice reads the VALUE and TABLE forms as
// well. Nothing of the card is recorded.
class VoltageControlledSourceCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  void Parse() override;  // the form check
  ExpressionUse BraceExpressionUse() const override {
    return behavioural_ ? ExpressionUse::Behavioural : ExpressionUse::Parameter;
  }

  const ElementField* FieldTable() const override;
  std::size_t FieldCount() const override;

 private:
  bool behavioural_ = false;  // a VALUE or TABLE source kept for ngspice
};

}  // namespace zav
