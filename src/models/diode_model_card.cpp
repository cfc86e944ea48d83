#include "models/diode_model_card.h"

#include "models/ngspice_rules.h"

namespace zav {

void DiodeModelCard::Resolve() {
  TranslateParams();
}

ParamRuleTable DiodeModelCard::RuleTable() {
  return target() == TranslationTarget::Ngspice ? NgspiceDiodeRules() : DiodeRules();
}

}  // namespace zav
