#pragma once

#include "cards/brace_expression.h"
#include "elements/element_card.h"

namespace zav {

// The common part of capacitors, inductors and resistors. Their model name is
// optional and, when present, is written before the value (C1 1 2 CMOD 10p);
// the host wants the value first, so the two change places on output.
// Field rows 0 ("ModelName") and 1 ("Value") are read here; the class's table
// supplies the rows from 2 on.
class ValueElementCard : public ElementCard {
 public:
  using ElementCard::ElementCard;

  void Parse() override;    // the value parse
  void Resolve() override;  // the value and model swap

 protected:
  void SwapTokens() override;

 private:
  // The extent of a value written as a brace expression after a model name,
  // as the parse found it (kept with the tokens): by the time of the swap,
  // parameters moved here from a model may follow it, and must not be
  // counted into it.
  BraceExpression& braceValue() { return tokens.HoldRecorded().braceValue; }
};

}  // namespace zav
