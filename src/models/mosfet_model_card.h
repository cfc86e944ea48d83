#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

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
  // The values of the first entries named L and W, as written: texts, not
  // tokens, for the translation that meets them may comment them out, and
  // the tokens of a run commented out are reused.
  struct LengthAndWidth {
    std::string_view length;
    std::string_view width;
    bool hasLength = false;
    bool hasWidth = false;
    // Takes `entry` when it is the first L or W met.
    void Note(const ParamEntry& entry);
  };
  // The L/W step: finds L and W, then records them.
  void RecordLengthAndWidth();
  void RecordLengthAndWidth(const LengthAndWidth& found);

  // What the L/W step of a card translated early leaves for the resolve
  // step: the check for users (inside a definition), or the note, which
  // goes after everything the card's text holds by then.
  bool checkUsers_ = false;
  std::uint16_t deferredNoteSize_ = 0;  // a note quotes two tokens: it is short
  const char* deferredNote_ = nullptr;
};

}  // namespace zav
