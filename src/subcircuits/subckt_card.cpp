#include "subcircuits/subckt_card.h"


#include <string_view>
#include <vector>

#include "cards/dialect_keywords.h"
#include "cards/parameter_sections.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
#include "text/source_line.h"

namespace zav {
namespace {

static_assert(kOptionalMarker.back() == ':' && kParamsMarker.back() == ':' && kTextMarker.back() == ':');

bool EndsOptionalSection(const Token* token) {
  return EqualsNoCase(token->text, kParamsMarker) || EqualsNoCase(token->text, kTextMarker);
}

bool HoldsLineFeed(const Token* token) { return token->text.find('\n') != std::string::npos; }

}  // namespace

SubcktCard::SubcktCard(Card& source, TakeOver) : Card(source, TakeOver{}) {
  kind = CardKind::Subckt;
  Parse();
}

void SubcktCard::RecordTokens() { Parse(); }

void SubcktCard::ForgetTokens() { nameToken = KeepToken(nameToken, keptName()); }

void SubcktCard::Parse() {
  valid = true;
  nameToken = nullptr;
  Token* keyword = FirstToken();
  if (keyword == nullptr || keyword->kind != TokenKind::Keyword ||
      !StartsWithNoCase(keyword->text, kSubcktKeywordPrefix)) {
    AddDiagnostic(MessageCode::MissingKeyword, FirstSignificantLine());
    valid = false;
    return;
  }
  // Pin names may be plain numbers (node 0, 1, ...), and so may the name of
  // the definition itself.
  Token* name = NextToken();
  if (name == nullptr || name->kind == TokenKind::Keyword) {
    AddDiagnostic(MessageCode::MissingModelName, name != nullptr ? name->line : keyword->line);
    valid = false;
    return;
  }
  nameToken = name;
}

void SubcktCard::Resolve() {
  // The section markers all end in a colon: a card without one in its text
  // has none, and need not make its tokens again to find none.
  bool colon = false;
  for (const SourceLine* line : lines) colon = colon || line->text.find(':') != std::string_view::npos;
  if (!colon) return;
  Materialize();
  if (!TranslateOptionalPins()) return;
  // ngspice reads "PARAMS:" where the dialect writes it, but no comma
  // between the assignments.
  if (target() == TranslationTarget::Ngspice) {
    RemoveParameterCommas(*this);
  } else {
    RemoveParamsKeyword(*this);
  }
  CommentOutTextSection(*this);
}

// Optional pins are written as name=default pairs after "OPTIONAL:". The
// target has no optional pins: they become ordinary pins on a continuation
// line of their own, and the section itself becomes a comment. Returns false,
// leaving the card untouched, when the section is not a list of such pairs
// (no pin at all, or a pin whose default value is missing).
bool SubcktCard::TranslateOptionalPins() {
  Token* optional = nullptr;
  for (Token* token = FirstToken(); token != nullptr; token = NextToken()) {
    if (EqualsNoCase(token->text, kOptionalMarker)) {
      optional = token;
      break;
    }
  }
  if (optional == nullptr) return true;

  std::vector<Token*> pins;
  Token* lastDefault = nullptr;
  Token* stop = nullptr;  // "PARAMS:" or "TEXT:", none at the end of the card
  for (;;) {
    Token* pin = NextToken();
    if (pin == nullptr || EndsOptionalSection(pin)) {
      stop = pin;
      break;
    }
    Token* value = NextToken();
    if (value == nullptr || EndsOptionalSection(value)) return false;
    pins.push_back(pin);
    lastDefault = value;
  }
  if (pins.empty()) return false;

  Token* position = nullptr;  // the new tokens go before it; none appends
  bool leadingLineFeed = false;
  bool trailingContinuation = false;
  if (stop == nullptr) {
    // A card at the very end of a file may lack its final line feed.
    leadingLineFeed = !HoldsLineFeed(tokens.back());
  } else if (stop->prev != nullptr && stop->prev->kind == TokenKind::Continuation) {
    // The next section begins its own continuation line: the pins go on a
    // line of their own just before it.
    position = stop->prev;
  } else {
    position = stop;
    leadingLineFeed = true;
    trailingContinuation = true;
  }

  auto insert = [&](TokenKind kind, std::string_view text, SourceLine* line) {
    tokens.InsertBefore(position, kind, text, line);
  };
  if (leadingLineFeed) insert(TokenKind::Newline, "\n", optional->line);
  insert(TokenKind::Continuation, "+ ", optional->line);
  for (std::size_t i = 0; i < pins.size(); ++i) {
    if (i > 0) insert(TokenKind::Separator, " ", pins[i - 1]->line);
    insert(pins[i]->kind, pins[i]->text, pins[i]->line);
  }
  insert(TokenKind::Newline, "\n", pins.back()->line);
  if (trailingContinuation) insert(TokenKind::Continuation, "+ ", stop->line);

  CommentOutBetween(optional, lastDefault);
  return true;
}

}  // namespace zav
