#include "elements/inductor_card.h"

#include <iterator>

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kInductorFields[] = {
    {"ModelName", false, false, ElementFieldType::ModelName},
    {"Value", true, false, ElementFieldType::Number},
    {"IC", false, true, ElementFieldType::Number},
};

}  // namespace

const ElementField* InductorCard::FieldTable() const { return kInductorFields; }

std::size_t InductorCard::FieldCount() const { return std::size(kInductorFields); }

}  // namespace zav
