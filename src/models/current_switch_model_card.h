#pragma once

#include "models/model_card.h"

namespace zav {

// A current-controlled switch model, type "ISWITCH"; the target simulator calls
// the type "CSW".
class CurrentSwitchModelCard : public ModelCard {
 public:
  CurrentSwitchModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::CurrentSwitchModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
