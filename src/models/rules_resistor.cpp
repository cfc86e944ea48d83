// Parameter translation rules for resistor models (RES).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// Unlike capacitor and inductor models, a resistor model keeps TC1 and TC2.
constexpr ParamRule kResistorRules[] = {
    {"R", ParamAction::NotSupported, nullptr, 1.0},
    {"TC1", ParamAction::Keep, nullptr, 1.0},
    {"TC2", ParamAction::Keep, nullptr, 1.0},
    {"TCE", ParamAction::NotSupported, nullptr, 1.0},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP", 1.0},
    {"T_MEASURED", ParamAction::Rename, "TNOM", 1.0},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP", 1.0},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr, 1.0},
};
static_assert(std::size(kResistorRules) == 8);

}  // namespace

ParamRuleTable ResistorRules() { return kResistorRules; }

}  // namespace zav
