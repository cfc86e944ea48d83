#include "elements/independent_source_card.h"

#include <iterator>
#include <string_view>

#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kIndependentSourceFields[] = {
    {"ModelName", false, false, ElementFieldType::ModelName},
};

// Words anywhere after the two nodes that mark an untranslatable source.
constexpr std::string_view kUnsupportedKeywords[] = {
    "STIMULUS",
    "TIME_SCALE_FACTOR",
    "VALUE_SCALE_FACTOR",
    "FILE",
    "REPEAT",
};

bool IsUnsupportedKeyword(std::string_view text) {
  for (std::string_view keyword : kUnsupportedKeywords) {
    if (EqualsNoCase(text, keyword)) return true;
  }
  return false;
}

}  // namespace

void IndependentSourceCard::Parse() {
  // Skip the name and the two nodes.
  Token* token = FirstToken();
  for (int i = 0; i < 3 && token != nullptr; ++i) token = NextToken();
  for (; token != nullptr; token = NextToken()) {
    if (IsUnsupportedKeyword(token->text)) {
      AddDiagnostic(MessageCode::UnsupportedForm, token->line);
      valid = false;
      return;
    }
  }
}

const ElementField* IndependentSourceCard::FieldTable() const { return kIndependentSourceFields; }

std::size_t IndependentSourceCard::FieldCount() const { return std::size(kIndependentSourceFields); }

}  // namespace zav
