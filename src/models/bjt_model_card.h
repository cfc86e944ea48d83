#pragma once

#include "models/model_card.h"

namespace zav {

// A bipolar transistor model, types "NPN", "PNP" and "LPNP".
class BjtModelCard : public ModelCard {
 public:
  BjtModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::BjtModel) {}

  // The translation pass, then the LPNP update.
  void Resolve() override;
  ParamRuleTable RuleTable() override;
};

}  // namespace zav
