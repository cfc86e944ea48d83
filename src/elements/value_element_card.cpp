#include "elements/value_element_card.h"

#include <utility>

#include "diagnostics/add_diagnostic.h"

namespace zav {
namespace {

constexpr std::size_t kModelNameRow = 0;
constexpr std::size_t kValueRow = 1;
constexpr std::size_t kFirstTableRow = 2;

}  // namespace

void ValueElementCard::Parse() {
  valid = true;
  ParseName();
  if (!valid) return;
  ParsePins();
  if (!valid) return;

  Token* first = NextToken();
  if (first == nullptr) {
    AddDiagnostic(21, FirstSignificantLine(), {"Value"});
    valid = false;
    return;
  }
  if (first->kind == TokenKind::Keyword) {
    AddDiagnostic(21, first->line, {first->text});
    valid = false;
    return;
  }

  // Either "value" or "model value": which one only the next token tells.
  Token* second = NextToken();
  if (second == nullptr) {
    params.push_back({nullptr, first, static_cast<int32_t>(kValueRow)});
    return;
  }
  if (second->kind == TokenKind::Number) {
    modelName = first;
    params.push_back({nullptr, first, static_cast<int32_t>(kModelNameRow)});
    params.push_back({nullptr, second, static_cast<int32_t>(kValueRow)});
    ParseFields(nullptr, kFirstTableRow);
    return;
  }
  params.push_back({nullptr, first, static_cast<int32_t>(kValueRow)});
  ParseFields(second, kFirstTableRow);
}

void ValueElementCard::Resolve() {
  if (modelName == nullptr) return;
  if (params.size() < 2 || params[1].name != nullptr) {
    modelName = nullptr;
    return;
  }
  // The link has already used the model name; now the tokens trade places so
  // that the value comes first. The entries keep pointing at their positions.
  Token* value = params[1].value;
  std::swap(modelName->kind, value->kind);
  std::swap(modelName->text, value->text);
  modelName = value;
  changed = true;
}

}  // namespace zav
