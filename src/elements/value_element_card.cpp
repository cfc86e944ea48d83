#include "elements/value_element_card.h"

#include <cstddef>
#include <cstdint>

#include "diagnostics/add_diagnostic.h"

namespace zav {
namespace {

constexpr std::size_t kModelNameRow = 0;
constexpr std::size_t kValueRow = 1;
constexpr std::size_t kFirstTableRow = 2;

}  // namespace

void ValueElementCard::Parse() {
  valid = true;
  braceValue() = BraceExpression{};
  valueSize_ = 0;
  ParseName();
  if (!valid) return;
  ParsePins();
  if (!valid) return;

  BraceExpressionIndex braces;
  Token* first = NextValue(braces);
  if (first == nullptr) {
    AddDiagnostic(MessageCode::MissingValue, FirstSignificantLine(), {"Value"});
    valid = false;
    return;
  }
  if (first->kind == TokenKind::Keyword) {
    AddDiagnostic(MessageCode::MissingValue, first->line, {first->text});
    valid = false;
    return;
  }

  // An expression names no model: it is the value, whatever follows it.
  if (first->kind == TokenKind::OpenBrace) {
    params().push_back({nullptr, first, static_cast<int32_t>(kValueRow)});
    ParseFields(nullptr, kFirstTableRow);
    return;
  }

  // Either "value" or "model value": which one only the next value tells.
  Token* second = NextValue(braces);
  if (second == nullptr) {
    params().push_back({nullptr, first, static_cast<int32_t>(kValueRow)});
    return;
  }
  if (second->kind == TokenKind::Number || second->kind == TokenKind::OpenBrace) {
    SetModelName(first);
    params().push_back({nullptr, first, static_cast<int32_t>(kModelNameRow)});
    params().push_back({nullptr, second, static_cast<int32_t>(kValueRow)});
    if (second->kind == TokenKind::OpenBrace) {
      braceValue() = braces.Find(tokens, second);
    } else if (second->line == first->line && second->text.data() >= first->text.data() + first->text.size()) {
      // Both on one line: the swap can be made in the line's text (see
      // ElementCard::FinishEdits), when a byte holds the gap and the value.
      const auto gap = static_cast<std::size_t>(second->text.data() - (first->text.data() + first->text.size()));
      if (gap <= UINT8_MAX && second->text.size() <= UINT8_MAX) {
        valueGap_ = static_cast<uint8_t>(gap);
        valueSize_ = static_cast<uint8_t>(second->text.size());
      }
    }
    ParseFields(nullptr, kFirstTableRow);
    return;
  }
  params().push_back({nullptr, first, static_cast<int32_t>(kValueRow)});
  ParseFields(second, kFirstTableRow);
}

void ValueElementCard::Resolve() {
  if (ModelNameText().empty()) return;
  // ngspice reads the model name before the value, as the dialect writes it
  // (a capacitor or inductor written value first is even an error there).
  if (target() == TranslationTarget::Ngspice) return;
  if (valueSize_ != 0 && EditsMayWait()) {
    // Made when the card is finished, in its line's text.
    swapWaits_ = true;
    changed = true;
    return;
  }
  Materialize();
  SwapTokens();
}

void ValueElementCard::SwapTokens() {
  if (modelName() == nullptr) return;
  if (params().size() < 2 || params()[1].name != nullptr) {
    SetModelName(nullptr);
    return;
  }
  // The link has already used the model name; now the two change places so
  // that the value comes first. A value is a run of tokens (a brace
  // expression), so the tokens are moved, not their texts; whatever stands
  // between the two (blanks, a line break) stays where it is. The entries
  // keep their positions: entry 0 now holds the value, entry 1 the model name.
  Token* model = modelName();
  Token* first = params()[1].value;
  Token* last = first;
  if (braceValue().open == first && braceValue().last != nullptr) {
    last = braceValue().last;
    // The expression may end inside a token ("*POLE)}" and the line feed of
    // a rejected rest): the part after its close brace stays behind.
    if (braceValue().end < last->text.size()) {
      tokens.InsertAfter(last, last->kind, last->text.substr(braceValue().end), last->line);
      last->text = last->text.substr(0, braceValue().end);
    }
  }
  Token* before = model->prev;
  tokens.MoveAfter(model, model, last);
  tokens.MoveAfter(first, last, before);
  if (params()[0].value == model) params()[0].value = first;
  params()[1].value = model;
  changed = true;
}

}  // namespace zav
