#include "models/inductor_model_card.h"

namespace zav {

void InductorModelCard::Resolve() {
  RenameTypeAndTranslate("L");
}

ParamRuleTable InductorModelCard::RuleTable() { return InductorRules(); }

}  // namespace zav
