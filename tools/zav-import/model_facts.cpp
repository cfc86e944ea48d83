#include "model_facts.h"

#include <string_view>

#include "cards/card.h"
#include "cards/card_kind.h"
#include "models/model_card.h"
#include "platform/ascii.h"
#include "text/source_line.h"
#include "subcircuits/subcircuit_model.h"

namespace zav::cli {
namespace {

bool IsWordCharacter(char c) { return IsAsciiAlpha(c) || IsAsciiDigit(c) || c == '_'; }

// The first occurrence of `word` in `text` as a whole word, letter case
// ignored; npos when there is none.
std::size_t FindWordNoCase(std::string_view text, std::string_view word, std::size_t from = 0) {
  if (word.empty() || word.size() > text.size()) return std::string_view::npos;
  for (std::size_t at = from; at + word.size() <= text.size(); ++at) {
    if (at > 0 && IsWordCharacter(text[at - 1])) continue;
    const std::size_t end = at + word.size();
    if (end < text.size() && IsWordCharacter(text[end])) continue;
    if (EqualsNoCase(text.substr(at, word.size()), word)) return at;
  }
  return std::string_view::npos;
}

int StatementLine(const Card& card) {
  const SourceLine* line = card.FirstSignificantLine();
  return line != nullptr ? line->number : 0;
}

// The model type keyword a translated type was written as.
std::string_view WrittenTypeKeyword(const ModelCard& card) {
  switch (card.kind) {
    case CardKind::CapacitorModel:
      return "CAP";
    case CardKind::InductorModel:
      return "IND";
    case CardKind::ResistorModel:
      return "RES";
    case CardKind::CurrentSwitchModel:
      return "ISWITCH";
    case CardKind::VoltageSwitchModel:
      return "VSWITCH";
    case CardKind::BjtModel:
      return "LPNP";
    default:
      return {};
  }
}

std::string WrittenModelType(const ModelCard& card) {
  if (card.TypeLine() == nullptr && card.TypeText().empty()) return std::string();
  const std::string current(card.TypeText());
  const std::string_view keyword = WrittenTypeKeyword(card);
  if (keyword.empty() || EqualsNoCase(current, keyword)) return current;
  // Translation rewrote the token; the line as read still has the type as
  // written. A bipolar type was rewritten only when it was LPNP.
  if (card.kind == CardKind::BjtModel && !EqualsNoCase(current, "PNP")) return current;
  if (card.TypeLine() != nullptr) {
    const std::string_view raw = card.TypeLine()->rawText;
    const std::size_t at = FindWordNoCase(raw, keyword);
    if (at != std::string_view::npos) return std::string(raw.substr(at, keyword.size()));
  }
  return std::string(keyword);
}

}  // namespace

bool IsConvertedStatementLine(const SourceLine& line) {
  if (line.kind != LineKind::Comment || line.text.size() != line.rawText.size() + 2) return false;
  if (line.text.substr(0, 2) != "* " || line.text.substr(2) != line.rawText.view()) return false;
  for (char c : line.rawText) {
    if (c == ' ' || c == '\t') continue;
    return c == '.' || IsAsciiAlpha(c);
  }
  return false;
}

ModelFacts DescribeModel(const ImportedModel& model) {
  ModelFacts facts;
  if (model.nameToken != nullptr) facts.name = model.nameToken->text;
  if (model.origin == ImportedModel::Origin::Subcircuit) {
    const auto& subcircuit = static_cast<const SubcircuitModel&>(model);
    facts.kind = "subckt";
    facts.subcircuit = true;
    if (!subcircuit.cards().empty()) facts.line = StatementLine(*subcircuit.cards().front());
  } else if (model.origin == ImportedModel::Origin::ModelCard) {
    const auto& card = static_cast<const ModelCard&>(model);
    facts.kind = WrittenModelType(card);
    facts.line = StatementLine(card);
  }
  return facts;
}

}  // namespace zav::cli
