#include "models/resistor_model_card.h"

namespace zav {

void ResistorModelCard::Resolve() {
  RenameTypeAndTranslate();
}

ParamRuleTable ResistorModelCard::RuleTable() { return ResistorRules(); }

}  // namespace zav
