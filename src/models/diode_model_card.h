#pragma once

#include "models/model_card.h"

namespace zav {

// A diode model, type "D".
class DiodeModelCard : public ModelCard {
 public:
  DiodeModelCard(const ModelCard& source, DeriveFrom)
      : ModelCard(source, DeriveFrom{}, CardKind::DiodeModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
