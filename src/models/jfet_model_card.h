#pragma once

#include "models/model_card.h"

namespace zav {

// A junction FET model, types "NJF" and "PJF".
class JfetModelCard : public ModelCard {
 public:
  JfetModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::JfetModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
