#include "models/voltage_switch_model_card.h"

namespace zav {

void VoltageSwitchModelCard::Resolve() {
  RenameTypeAndTranslate();
}

ParamRuleTable VoltageSwitchModelCard::RuleTable() { return VoltageSwitchRules(); }

}  // namespace zav
