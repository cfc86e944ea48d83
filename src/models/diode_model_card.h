#pragma once

#include "models/model_card.h"

namespace zav {

// A diode model, type "D".
class DiodeModelCard : public ModelCard {
 public:
  DiodeModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::DiodeModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
