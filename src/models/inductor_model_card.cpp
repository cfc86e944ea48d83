#include "models/inductor_model_card.h"

#include "models/ngspice_rules.h"

namespace zav {

void InductorModelCard::Resolve() {
  RenameTypeAndTranslate();
}

ParamRuleTable InductorModelCard::RuleTable() {
  return target() == TranslationTarget::Ngspice ? NgspiceInductorRules() : InductorRules();
}

}  // namespace zav
