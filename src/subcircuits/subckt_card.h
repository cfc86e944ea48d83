#pragma once

#include "cards/card.h"

namespace zav {

// The .SUBCKT card that opens a definition. The constructor derives it from
// the generic card and parses it; classification keeps it only while valid.
class SubcktCard : public Card {
 public:
  SubcktCard(Card& source, TakeOver);
  void Parse() override;
  // Translates the "OPTIONAL:", "PARAMS:" and "TEXT:" sections.
  void Resolve() override;

 protected:
  void RecordTokens() override;
  // The definition is known by its name: it stays readable.
  void ForgetTokens() override;

 private:
  // False when the "OPTIONAL:" section is malformed and the card must stay
  // as read.
  bool TranslateOptionalPins();
};

}  // namespace zav
