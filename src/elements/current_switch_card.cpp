#include "elements/current_switch_card.h"

#include <iterator>

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kCurrentSwitchFields[] = {
    {"CtlVSource", true, false, ElementFieldType::Node},
    {"ModelName", true, false, ElementFieldType::ModelName},
};

}  // namespace

const ElementField* CurrentSwitchCard::FieldTable() const { return kCurrentSwitchFields; }

std::size_t CurrentSwitchCard::FieldCount() const { return std::size(kCurrentSwitchFields); }

}  // namespace zav
