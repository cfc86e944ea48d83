#pragma once

#include "models/model_card.h"

namespace zav {

// An inductor model, type "IND"; the target simulator calls the type "L".
class InductorModelCard : public ModelCard {
 public:
  InductorModelCard(const ModelCard& source, DeriveFrom)
      : ModelCard(source, DeriveFrom{}, CardKind::InductorModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
