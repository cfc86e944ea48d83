#pragma once

#include "models/model_card.h"

namespace zav {

// A voltage-controlled switch model, type "VSWITCH"; the target simulator
// calls the type "SW".
class VoltageSwitchModelCard : public ModelCard {
 public:
  VoltageSwitchModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::VoltageSwitchModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
