// Parameter translation rules for resistor models (RES).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// Unlike capacitor and inductor models, a resistor model keeps TC1 and TC2.
constexpr ParamRule kResistorRules[] = {
    {"R", ParamAction::NotSupported, nullptr},
    {"TC1", ParamAction::Keep, nullptr},
    {"TC2", ParamAction::Keep, nullptr},
    {"TCE", ParamAction::NotSupported, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
};
static_assert(std::size(kResistorRules) == 8);

}  // namespace

ParamRuleTable ResistorRules() { return kResistorRules; }

}  // namespace zav
