#pragma once

#include "models/model_card.h"

namespace zav {

// A bipolar transistor model, types "NPN", "PNP" and "LPNP".
class BjtModelCard : public ModelCard {
 public:
  BjtModelCard(const ModelCard& source, DeriveFrom)
      : ModelCard(source, DeriveFrom{}, CardKind::BjtModel) {}

  // The translation pass, then the LPNP update.
  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
