#include "elements/diode_card.h"

#include <iterator>

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kDiodeFields[] = {
    {"ModelName", true, false, ElementFieldType::ModelName},
    {"Area", false, false, ElementFieldType::Number},
};

}  // namespace

const ElementField* DiodeCard::FieldTable() const { return kDiodeFields; }

std::size_t DiodeCard::FieldCount() const { return std::size(kDiodeFields); }

}  // namespace zav
