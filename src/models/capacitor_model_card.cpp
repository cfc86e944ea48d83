#include "models/capacitor_model_card.h"

#include "models/ngspice_rules.h"

namespace zav {

void CapacitorModelCard::Resolve() {
  RenameTypeAndTranslate();
}

ParamRuleTable CapacitorModelCard::RuleTable() {
  return target() == TranslationTarget::Ngspice ? NgspiceCapacitorRules() : CapacitorRules();
}

}  // namespace zav
