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
  MosfetModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::MosfetModel) {}

  // The L/W step, the translation pass, then the LEVEL update.
  void Resolve() override;
  ParamRuleTable RuleTable() override;

  int32_t level = -1;  // -1 until the table is chosen

 protected:
  void BeforeEarlyDiagnostics() override;
  void AfterEarlyDiagnostics() override;

 private:
  void ChooseRules();
  void RecordLengthAndWidth();

  // What the L/W step of a card translated early leaves for the resolve
  // step: the check for users (inside a definition), or the note, which
  // goes after everything the card's text holds by then.
  bool checkUsers_ = false;
  std::uint16_t deferredNoteSize_ = 0;  // a note quotes two tokens: it is short
  const char* deferredNote_ = nullptr;
};

}  // namespace zav
