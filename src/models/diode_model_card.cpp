#include "models/diode_model_card.h"

namespace zav {

void DiodeModelCard::Resolve() {
  TranslateParams();
}

ParamRuleTable DiodeModelCard::RuleTable() { return DiodeRules(); }

}  // namespace zav
