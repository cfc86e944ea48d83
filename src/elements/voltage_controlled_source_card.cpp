#include "elements/voltage_controlled_source_card.h"

#include <iterator>
#include <string_view>

#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kVoltageControlledSourceFields[] = {
    {"ModelName", false, false, ElementFieldType::ModelName},
};

// Behavioural forms, recognised by the word after the two output nodes, and
// whether ngspice reads the form as the dialect writes it (it makes a
// behavioural source of VALUE and TABLE; it has no LAPLACE, FREQ or CHEBYSHEV
// source).
struct BehaviouralForm {
  std::string_view word;
  bool ngspiceReads;
};

constexpr BehaviouralForm kBehaviouralForms[] = {
    {"TABLE", true},
    {"LAPLACE", false},
    {"FREQ", false},
    {"CHEBYSHEV", false},
    {"VALUE", true},
};

}  // namespace

void VoltageControlledSourceCard::Parse() {
  // Name and two output nodes; the fourth significant token tells the form.
  Token* token = FirstToken();
  for (int i = 0; i < 3 && token != nullptr; ++i) token = NextToken();
  if (token == nullptr) {
    AddDiagnostic(MessageCode::NotEnoughTokens, FirstSignificantLine());
    valid = false;
    return;
  }
  for (const BehaviouralForm& form : kBehaviouralForms) {
    if (!EqualsNoCase(token->text, form.word)) continue;
    if (form.ngspiceReads && target() == TranslationTarget::Ngspice) {
      behavioural_ = true;
      return;
    }
    AddDiagnostic(MessageCode::UnsupportedForm, token->line);
    valid = false;
    return;
  }
}

const ElementField* VoltageControlledSourceCard::FieldTable() const {
  return kVoltageControlledSourceFields;
}

std::size_t VoltageControlledSourceCard::FieldCount() const {
  return std::size(kVoltageControlledSourceFields);
}

}  // namespace zav
