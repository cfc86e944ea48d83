#pragma once

#include "models/model_card.h"

namespace zav {

// A junction FET model, types "NJF" and "PJF".
class JfetModelCard : public ModelCard {
 public:
  JfetModelCard(const ModelCard& source, DeriveFrom)
      : ModelCard(source, DeriveFrom{}, CardKind::JfetModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
