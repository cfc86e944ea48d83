#pragma once

#include <cstddef>
#include <cstdint>

#include "models/model_card.h"

namespace zav {

// A MOSFET model, types "NMOS" and "PMOS". Its rule table depends on the
// model's level, which is read once, on the first use of the table, and kept
// from then on (the LEVEL update rewrites the value afterwards).
class MosfetModelCard : public ModelCard {
 public:
  MosfetModelCard(ModelCard& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::MosfetModel) {}

  // The L/W step, the translation pass, then the LEVEL update.
  void Resolve() override;
  ParamRuleTable RuleTable() override;
  // Not with L or W: where they go depends on the model's place and users.
  bool TranslatesAlone() override;

  int32_t level = -1;  // -1 until the table is chosen

 private:
  void ChooseRules();
  void RecordLengthAndWidth();
};

}  // namespace zav
