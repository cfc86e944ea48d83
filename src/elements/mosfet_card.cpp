#include "elements/mosfet_card.h"

#include <iterator>

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kMosfetFields[] = {
    {"ModelName", true, false, ElementFieldType::ModelName},
    {"L", false, true, ElementFieldType::Number},
    {"W", false, true, ElementFieldType::Number},
    {"AD", false, true, ElementFieldType::Number},
    {"AS", false, true, ElementFieldType::Number},
    {"PD", false, true, ElementFieldType::Number},
    {"PS", false, true, ElementFieldType::Number},
    {"NRD", false, true, ElementFieldType::Number},
    {"NRS", false, true, ElementFieldType::Number},
    {"NRG", false, true, ElementFieldType::Number},
    {"NRB", false, true, ElementFieldType::Number},
    {"M", false, true, ElementFieldType::Number},
};

}  // namespace

const ElementField* MosfetCard::FieldTable() const { return kMosfetFields; }

std::size_t MosfetCard::FieldCount() const { return std::size(kMosfetFields); }

}  // namespace zav
