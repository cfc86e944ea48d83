#include "models/capacitor_model_card.h"

namespace zav {

void CapacitorModelCard::Resolve() {
  RenameTypeAndTranslate();
}

ParamRuleTable CapacitorModelCard::RuleTable() { return CapacitorRules(); }

}  // namespace zav
