#include "models/mosfet_model_card.h"

#include <string>

#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"

namespace zav {

void MosfetModelCard::ChooseRules() {
  if (level != -1) return;
  level = 1;
  if (const ParamEntry* entry = FindParam("LEVEL"); entry != nullptr && entry->value != nullptr) {
    level = AsciiToInt(entry->value->text);
  }
}

ParamRuleTable MosfetModelCard::RuleTable() {
  ChooseRules();
  return MosfetRulesForLevel(level);
}

// L and W are instance geometry in the target simulator. A top-level model
// keeps a note of the values it was written with (1E-4 standing in for a
// missing one); the translation pass then moves them to the transistors.
void MosfetModelCard::RecordLengthAndWidth() {
  Materialize();
  const ParamEntry* length = FindParam("L");
  const ParamEntry* width = FindParam("W");
  if (length == nullptr && width == nullptr) return;

  if (subcircuit != nullptr) {
    if (referencedBy.empty()) {
      AddDiagnostic(MessageCode::UnreferencedMosfetModel, nameToken ? nameToken->line : nullptr, {ModelName()});
    }
    return;
  }

  std::string note = "* L=";
  note += length != nullptr ? std::string_view(length->value->text) : std::string_view("1E-4");
  note += " W=";
  note += width != nullptr ? std::string_view(width->value->text) : std::string_view("1E-4");
  note += '\n';
  if (!tokens.empty() && (tokens.back()->text.empty() || tokens.back()->text.back() != '\n')) {
    // The statement is the end of a file without a final line feed: the
    // note must not run on in its last line.
    tokens.PushBack(TokenKind::Newline, "\n", nameToken ? nameToken->line : nullptr);
  }
  tokens.PushBack(TokenKind::Comment, note, nameToken ? nameToken->line : nullptr);
  changed = true;
}

void MosfetModelCard::Resolve() {
  RecordLengthAndWidth();
  TranslateParams();
  // The target simulator numbers this model family 10.
  if (ParamEntry* entry = FindParam("LEVEL");
      entry != nullptr && entry->value != nullptr && AsciiToInt(entry->value->text) == 7) {
    entry->value->text = "10";
    changed = true;
  }
}

}  // namespace zav
