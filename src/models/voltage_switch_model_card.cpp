#include "models/voltage_switch_model_card.h"

#include "models/ngspice_rules.h"

namespace zav {

void VoltageSwitchModelCard::Resolve() {
  if (target() == TranslationTarget::Ngspice) {
    // The dialect's defaults: on at 1 V, off at 0 V.
    return TranslateSwitchForNgspice({"VON", "VOFF", "1", "0", "VT", "VH"});
  }
  RenameTypeAndTranslate();
}

ParamRuleTable VoltageSwitchModelCard::RuleTable() {
  return target() == TranslationTarget::Ngspice ? NgspiceVoltageSwitchRules() : VoltageSwitchRules();
}

}  // namespace zav
