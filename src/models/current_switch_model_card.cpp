#include "models/current_switch_model_card.h"

#include "models/ngspice_rules.h"

namespace zav {

void CurrentSwitchModelCard::Resolve() {
  if (target() == TranslationTarget::Ngspice) {
    // The dialect's defaults: on at 1 mA, off at 0 A.
    return TranslateSwitchForNgspice({"ION", "IOFF", "1E-3", "0", "IT", "IH"});
  }
  RenameTypeAndTranslate();
}

ParamRuleTable CurrentSwitchModelCard::RuleTable() {
  return target() == TranslationTarget::Ngspice ? NgspiceCurrentSwitchRules() : CurrentSwitchRules();
}

}  // namespace zav
