#pragma once

#include "models/model_card.h"

namespace zav {

// An inductor model, type "IND"; the target simulator calls the type "L".
class InductorModelCard : public ModelCard {
 public:
  InductorModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::InductorModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
