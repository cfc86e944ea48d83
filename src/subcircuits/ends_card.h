#pragma once

#include "cards/card.h"

namespace zav {

// The .ENDS card that closes the innermost open definition.
class EndsCard : public Card {
 public:
  EndsCard(Card& source, TakeOver);
  void Parse() override;

 protected:
  void RecordTokens() override { Parse(); }
};

}  // namespace zav
