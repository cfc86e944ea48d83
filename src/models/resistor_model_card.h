#pragma once

#include "models/model_card.h"

namespace zav {

// A resistor model, type "RES"; the target simulator calls the type "R".
class ResistorModelCard : public ModelCard {
 public:
  ResistorModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::ResistorModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
