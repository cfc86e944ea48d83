#include "models/mosfet_model_card.h"

#include <string>

#include "cards/finished_text.h"
#include "diagnostics/add_diagnostic.h"
#include "models/early_translation.h"
#include "models/ngspice_rules.h"
#include "platform/ascii.h"

namespace zav {

void MosfetModelCard::ChooseRules() {
  if (level != -1) return;
  if (const int parsed = ParsedLevel(); parsed != 0) {
    level = parsed;
    return;
  }
  level = 1;
  if (const ParamEntry* entry = FindParam("LEVEL"); entry != nullptr && entry->value != nullptr) {
    level = AsciiToInt(entry->value->text);
  }
}

ParamRuleTable MosfetModelCard::RuleTable() {
  ChooseRules();
  return target() == TranslationTarget::Ngspice ? NgspiceMosfetRulesForLevel(level) : MosfetRulesForLevel(level);
}

void MosfetModelCard::LengthAndWidth::Note(const ParamEntry& entry) {
  if (entry.name == nullptr || entry.name->text.size() != 1 || entry.value == nullptr) return;
  if (!hasLength && EqualsNoCase(entry.name->text, "L")) {
    length = entry.value->text;
    hasLength = true;
  }
  if (!hasWidth && EqualsNoCase(entry.name->text, "W")) {
    width = entry.value->text;
    hasWidth = true;
  }
}

void MosfetModelCard::RecordLengthAndWidth() {
  Materialize();
  // FindParam for both names in one walk: a MOSFET model has many
  // parameters, and few of one letter. Most stay as written, which the parse
  // noted: no table keeps L or W as they are, so those are passed over
  // without a look at their names.
  LengthAndWidth found;
  VisitNotKeptAsWritten(params().begin(), params().end(), [&found](const ParamEntry& entry) { found.Note(entry); });
  RecordLengthAndWidth(found);
}

// L and W are instance geometry in the target simulator. A top-level model
// keeps a note of the values it was written with (1E-4 standing in for a
// missing one); the translation pass then moves them to the transistors.
void MosfetModelCard::RecordLengthAndWidth(const LengthAndWidth& found) {
  if (!found.hasLength && !found.hasWidth) return;

  const bool deferring = translatingEarly();
  if (deferring ? early()->insideDefinition() : subcircuit != nullptr) {
    if (deferring) {
      checkUsers_ = true;  // nothing was filed before: the check comes first
    } else if (referencedBy.empty()) {
      AddDiagnostic(MessageCode::UnreferencedMosfetModel, nameToken ? nameToken->line : nullptr, {ModelName()});
    }
    return;
  }
  // The note is for the host, which shows a model's geometry apart from its
  // parameters. ngspice has no such place: what the model said stands in the
  // parameters it moved to the transistors, or commented out in the model.
  if (target() == TranslationTarget::Ngspice) return;

  std::string note = "* L=";
  note += found.hasLength ? found.length : std::string_view("1E-4");
  note += " W=";
  note += found.hasWidth ? found.width : std::string_view("1E-4");
  note += '\n';
  changed = true;
  if (deferring) {
    // Comment lines that later steps give the card go before the note.
    const std::string_view kept = store->KeepText(note);
    deferredNote_ = kept.data();
    deferredNoteSize_ = static_cast<std::uint16_t>(kept.size());
    return;
  }
  if (!tokens.empty() && (tokens.back()->text.empty() || tokens.back()->text.back() != '\n')) {
    // The statement is the end of a file without a final line feed: the
    // note must not run on in its last line.
    tokens.PushBack(TokenKind::Newline, "\n", nameToken ? nameToken->line : nullptr);
  }
  tokens.PushBack(TokenKind::Comment, note, nameToken ? nameToken->line : nullptr);
}

void MosfetModelCard::BeforeEarlyDiagnostics() {
  if (checkUsers_ && referencedBy.empty()) {
    AddDiagnostic(MessageCode::UnreferencedMosfetModel, nameToken ? nameToken->line : nullptr, {ModelName()});
  }
}

void MosfetModelCard::AfterEarlyDiagnostics() {
  if (deferredNote_ == nullptr) return;
  // As at the end of a card that holds its tokens: a statement that ends
  // the file without a line feed gets one first.
  const FinishedText* text = tokens.finished();
  if (text == nullptr) return;
  const bool lineFeedFirst = !text->EndsWithLineFeed();
  const std::string_view pieces[] = {"\n", std::string_view(deferredNote_, deferredNoteSize_)};
  tokens.SetFinished(FinishedText::WithLines(*store, {}, *text, std::span<const std::string_view>(pieces).subspan(lineFeedFirst ? 0 : 1)));
}

void MosfetModelCard::Resolve() {
  if (translatingEarly()) {
    // Translated early, the L/W step files nothing and edits no token till
    // the resolve step (it notes what it would do): it comes after the
    // translation all the same, which meets L and W in its walk. They are
    // read before their entry is translated, as written.
    LengthAndWidth found;
    TranslateParams({[](void* context, const ParamEntry& entry) { static_cast<LengthAndWidth*>(context)->Note(entry); },
                     &found});
    RecordLengthAndWidth(found);
  } else {
    RecordLengthAndWidth();
    TranslateParams();
  }
  // The host numbers this model family 10, ngspice 8 (its BSIM3). Every
  // MOSFET table keeps LEVEL: the entry is the one the table was chosen by.
  if (ParamEntry* entry = level == 7 ? FindParam("LEVEL") : nullptr;
      entry != nullptr && entry->value != nullptr && AsciiToInt(entry->value->text) == 7) {
    changed = true;
    if (target() != TranslationTarget::Ngspice) {
      entry->value->text = "10";
      return;
    }
    // ngspice's BSIM3 comes in versions, and warns when a model names none.
    // Its newest, 3.3.0, reads every parameter of the dialect's level 7 that
    // its 3.1 reads, and more.
    AddDiagnostic(MessageCode::MosfetLevelRewritten, entry->value->line, {entry->value->text, "LEVEL=8 VERSION=3.3.0"});
    entry->value->text = "8";
    AddParameter("VERSION", "3.3.0", TokenKind::Number, "ngspice's BSIM3 version", false);
  }
}

}  // namespace zav
