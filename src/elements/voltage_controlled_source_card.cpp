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

// Behavioural forms, recognised by the word after the two output nodes.
constexpr std::string_view kUnsupportedForms[] = {
    "TABLE",
    "LAPLACE",
    "FREQ",
    "CHEBYSHEV",
    "VALUE",
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
  for (std::string_view form : kUnsupportedForms) {
    if (EqualsNoCase(token->text, form)) {
      AddDiagnostic(MessageCode::UnsupportedForm, token->line);
      valid = false;
      return;
    }
  }
}

const ElementField* VoltageControlledSourceCard::FieldTable() const {
  return kVoltageControlledSourceFields;
}

std::size_t VoltageControlledSourceCard::FieldCount() const {
  return std::size(kVoltageControlledSourceFields);
}

}  // namespace zav
