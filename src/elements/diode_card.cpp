#include "elements/diode_card.h"

#include <iterator>
#include <string>

#include "diagnostics/add_diagnostic.h"

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kDiodeFields[] = {
    {"ModelName", true, false, ElementFieldType::ModelName},
    {"Area", false, false, ElementFieldType::Number},
};

constexpr int32_t kAreaRow = 1;

}  // namespace

void DiodeCard::Resolve() {
  if (target() != TranslationTarget::Ngspice) return;
  Materialize();
  for (ParamEntry& entry : params()) {
    if (entry.row != kAreaRow || entry.name != nullptr || entry.value == nullptr) continue;
    const std::string value(entry.value->text);
    tokens.SetText(entry.value, "area=" + value);
    changed = true;
    AddDiagnostic(MessageCode::ElementParameterRewritten, entry.value->line, {value, "area=" + value});
  }
}

const ElementField* DiodeCard::FieldTable() const { return kDiodeFields; }

std::size_t DiodeCard::FieldCount() const { return std::size(kDiodeFields); }

}  // namespace zav
