#include "elements/resistor_card.h"

#include <iterator>
#include <string>
#include <string_view>

#include "diagnostics/add_diagnostic.h"

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kResistorFields[] = {
    {"ModelName", false, false, ElementFieldType::ModelName},
    {"Value", true, false, ElementFieldType::Number},
    {"TC", false, true, ElementFieldType::Number},
    {"TC2", false, false, ElementFieldType::Number},
};

constexpr int32_t kTcRow = 2;
constexpr int32_t kTc2Row = 3;

}  // namespace

void ResistorCard::Resolve() {
  ValueElementCard::Resolve();
  if (target() != TranslationTarget::Ngspice) return;
  Materialize();
  ParamEntry* tc = nullptr;
  ParamEntry* tc2 = nullptr;
  for (ParamEntry& entry : params()) {
    if (entry.row == kTcRow) tc = &entry;
    if (entry.row == kTc2Row) tc2 = &entry;
  }
  if (tc == nullptr || tc->name == nullptr || tc->value == nullptr) return;

  const std::string_view value = tc->value->text;
  std::string written = "TC1=";
  std::string first(value);
  std::string second;
  const std::size_t comma = value.front() == '{' ? std::string_view::npos : value.find(',');
  if (comma != std::string_view::npos) {
    first = value.substr(0, comma);
    second = value.substr(comma + 1);
  }
  if (second.empty() && tc2 != nullptr && tc2->value != nullptr) {
    // "TC=0.01, 0.02" or "TC=0.01 ,0.02": the second coefficient is a token
    // of its own, and so may be the comma before it.
    second = tc2->value->text;
    for (Token* token = tc->value->next; token != nullptr && token != tc2->value;) {
      Token* next = token->next;
      if (token->kind == TokenKind::Comma) {
        if (tokenCursor() == token) SetTokenCursor(nullptr);
        tokens.Erase(token);
      }
      token = next;
    }
    tokens.SetText(tc2->value, "TC2=" + second);
  } else if (!second.empty()) {
    first += " TC2=" + second;
  }
  const std::string tc1 = first.substr(0, first.find(' '));
  const std::string before = std::string(tc->name->text) + "=" + tc1 + (second.empty() ? "" : "," + second);
  written += second.empty() ? tc1 : tc1 + " TC2=" + second;
  tc->name->text = "TC1";
  tokens.SetText(tc->value, first);
  changed = true;
  AddDiagnostic(MessageCode::ElementParameterRewritten, tc->name->line, {before, written});
}

const ElementField* ResistorCard::FieldTable() const { return kResistorFields; }

std::size_t ResistorCard::FieldCount() const { return std::size(kResistorFields); }

}  // namespace zav
