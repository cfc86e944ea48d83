#include "models/jfet_model_card.h"

#include "models/ngspice_rules.h"

namespace zav {

void JfetModelCard::Resolve() {
  TranslateParams();
}

ParamRuleTable JfetModelCard::RuleTable() {
  return target() == TranslationTarget::Ngspice ? NgspiceJfetRules() : JfetRules();
}

}  // namespace zav
