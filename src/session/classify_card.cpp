#include "session/classify_card.h"

#include <utility>

#include "cards/card.h"
#include "cards/dialect_keywords.h"
#include "diagnostics/add_diagnostic.h"
#include "elements/element_card.h"
#include "models/model_card.h"
#include "platform/ascii.h"
#include "subcircuits/ends_card.h"
#include "subcircuits/subckt_card.h"
#include "text/source_line.h"

namespace zav {
namespace {

// The typed card when its own parse accepted it; none otherwise (the parse
// filed the diagnostic).
template <typename TypedCard>
std::unique_ptr<Card> BuildIfValid(Card& card) {
  std::unique_ptr<TypedCard> typed = NewCard<TypedCard>(card.store, card, TakeOver{});
  if (!typed->valid) {
    card.lines = std::move(typed->lines);
    return nullptr;
  }
  return typed;
}

}  // namespace

std::unique_ptr<Card> ClassifyCard(Card& card, bool wholeText) {
  card.kind = CardKind::Unknown;
  Token* first = card.FirstToken();
  if (first == nullptr) {
    const SourceLine* where = !card.tokens.empty() ? card.tokens.front()->line
                              : !card.lines.empty() ? card.lines.front()
                                                     : nullptr;
    AddDiagnostic(MessageCode::NoFirstToken, where);
    return nullptr;
  }

  switch (first->kind) {
    case TokenKind::Keyword:
      card.kind = CardKind::Control;
      // Only the start of the keyword counts, so .model, .MODULE, .SUB and
      // .ENDSX all find their class, while .END does not.
      if (StartsWithNoCase(first->text, kModelKeywordPrefix)) {
        card.kind = CardKind::Model;
        return ModelCard::Create(card, wholeText);
      }
      if (StartsWithNoCase(first->text, kSubcktKeywordPrefix)) {
        card.kind = CardKind::Subckt;
        return BuildIfValid<SubcktCard>(card);
      }
      if (StartsWithNoCase(first->text, kEndsKeywordPrefix)) {
        card.kind = CardKind::Ends;
        return BuildIfValid<EndsCard>(card);
      }
      AddDiagnostic(MessageCode::UnknownControlCard, first->line);
      return nullptr;

    case TokenKind::Name: {
      card.kind = CardKind::Element;
      return ElementCard::Create(card);
    }

    default:  // a Number, such as ".5"
      AddDiagnostic(MessageCode::UnexpectedToken, first->line, {first->text});
      AddDiagnostic(MessageCode::UnknownCardType, first->line);
      return nullptr;
  }
}

}  // namespace zav
