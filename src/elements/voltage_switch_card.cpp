#include "elements/voltage_switch_card.h"

#include <iterator>

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kVoltageSwitchFields[] = {
    {"CtlVoltPos", true, false, ElementFieldType::Node},
    {"CtlVoltNeg", true, false, ElementFieldType::Node},
    {"ModelName", true, false, ElementFieldType::ModelName},
};

}  // namespace

const ElementField* VoltageSwitchCard::FieldTable() const { return kVoltageSwitchFields; }

std::size_t VoltageSwitchCard::FieldCount() const { return std::size(kVoltageSwitchFields); }

}  // namespace zav
