#pragma once

#include "models/model_card.h"

namespace zav {

// A current-controlled switch model, type "ISWITCH"; the target simulator calls
// the type "CSW".
class CurrentSwitchModelCard : public ModelCard {
 public:
  CurrentSwitchModelCard(const ModelCard& source, DeriveFrom)
      : ModelCard(source, DeriveFrom{}, CardKind::CurrentSwitchModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
