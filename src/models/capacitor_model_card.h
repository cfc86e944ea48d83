#pragma once

#include "models/model_card.h"

namespace zav {

// A capacitor model, type "CAP"; the target simulator calls the type "C".
class CapacitorModelCard : public ModelCard {
 public:
  CapacitorModelCard(const ModelCard& source, DeriveFrom)
      : ModelCard(source, DeriveFrom{}, CardKind::CapacitorModel) {}

  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
