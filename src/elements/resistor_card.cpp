#include "elements/resistor_card.h"

#include <iterator>

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kResistorFields[] = {
    {"ModelName", false, false, ElementFieldType::ModelName},
    {"Value", true, false, ElementFieldType::Number},
    {"TC", false, true, ElementFieldType::Number},
    {"TC2", false, false, ElementFieldType::Number},
};

}  // namespace

const ElementField* ResistorCard::FieldTable() const { return kResistorFields; }

std::size_t ResistorCard::FieldCount() const { return std::size(kResistorFields); }

}  // namespace zav
