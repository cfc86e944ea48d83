#include "models/inductor_model_card.h"

namespace zav {

void InductorModelCard::Resolve() {
  RenameTypeAndTranslate();
}

ParamRuleTable InductorModelCard::RuleTable() { return InductorRules(); }

}  // namespace zav
