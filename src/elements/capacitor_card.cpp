#include "elements/capacitor_card.h"

#include <iterator>

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kCapacitorFields[] = {
    {"ModelName", false, false, ElementFieldType::ModelName},
    {"Value", true, false, ElementFieldType::Number},
    {"IC", false, true, ElementFieldType::Number},
};

}  // namespace

const ElementField* CapacitorCard::FieldTable() const { return kCapacitorFields; }

std::size_t CapacitorCard::FieldCount() const { return std::size(kCapacitorFields); }

}  // namespace zav
