#include "elements/subckt_call_card.h"


#include <iterator>
#include <string_view>

#include "cards/dialect_keywords.h"
#include "cards/parameter_sections.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
#include "text/source_line.h"

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kSubcktCallFields[] = {
    {"Dummy", false, false, ElementFieldType::Node},
};

static_assert(kParamsMarker.back() == ':' && kTextMarker.back() == ':');

bool EndsInstanceNodes(const Token& token) {
  return EqualsNoCase(token.text, kParamsMarker) || EqualsNoCase(token.text, kTextMarker);
}

}  // namespace

void SubcktCallCard::Parse() {
  valid = true;
  Token* token = FirstToken();
  if (token == nullptr || token->kind != TokenKind::Name) {
    AddDiagnostic(MessageCode::ElementWithoutName, FirstSignificantLine());
    valid = false;
    return;
  }
  nameToken = token;
  for (token = NextToken(); token != nullptr && !EndsInstanceNodes(*token); token = NextToken()) {
    pins().push_back(token);
  }
  // An instance with nothing before "PARAMS:", "TEXT:" or the end names no
  // subcircuit; it stays an instance without a model.
  if (pins().empty()) return;
  SetModelName(pins().back());
  pins().pop_back();
}

void SubcktCallCard::Resolve() {
  // Both section markers end in a colon: a card without one in its text has
  // neither, and need not make its tokens again to find none.
  bool colon = false;
  for (const SourceLine* line : lines) colon = colon || line->text.find(':') != std::string_view::npos;
  if (!colon) return;
  Materialize();
  // ngspice reads "PARAMS:" where the dialect writes it, but no comma
  // between the assignments.
  if (target() == TranslationTarget::Ngspice) {
    RemoveParameterCommas(*this);
  } else {
    RemoveParamsKeyword(*this);
  }
  CommentOutTextSection(*this);
}

const ElementField* SubcktCallCard::FieldTable() const { return kSubcktCallFields; }

std::size_t SubcktCallCard::FieldCount() const { return std::size(kSubcktCallFields); }

}  // namespace zav
