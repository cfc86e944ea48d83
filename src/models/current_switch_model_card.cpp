#include "models/current_switch_model_card.h"

namespace zav {

void CurrentSwitchModelCard::Resolve() {
  RenameTypeAndTranslate();
}

ParamRuleTable CurrentSwitchModelCard::RuleTable() { return CurrentSwitchRules(); }

}  // namespace zav
