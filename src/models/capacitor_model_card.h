#pragma once

#include "models/model_card.h"

namespace zav {

// A capacitor model, type "CAP"; the target simulator calls the type "C".
class CapacitorModelCard : public ModelCard {
 public:
  CapacitorModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::CapacitorModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
