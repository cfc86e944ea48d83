#include "models/jfet_model_card.h"

namespace zav {

void JfetModelCard::Resolve() {
  TranslateParams();
}

ParamRuleTable JfetModelCard::RuleTable() { return JfetRules(); }

}  // namespace zav
