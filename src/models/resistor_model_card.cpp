#include "models/resistor_model_card.h"

#include "models/ngspice_rules.h"

namespace zav {

void ResistorModelCard::Resolve() {
  RenameTypeAndTranslate();
}

ParamRuleTable ResistorModelCard::RuleTable() {
  return target() == TranslationTarget::Ngspice ? NgspiceResistorRules() : ResistorRules();
}

}  // namespace zav
