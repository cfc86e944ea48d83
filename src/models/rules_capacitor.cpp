// Parameter translation rules for capacitor models (CAP).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// TC1 and TC2 leave the model together as one "TC" parameter on each element,
// so TC2 needs no target of its own.
constexpr ParamRule kCapacitorRules[] = {
    {"C", ParamAction::NotSupported, nullptr, 1.0},
    {"TC1", ParamAction::MoveToInstance, "TC", 1.0},
    {"TC2", ParamAction::MoveToInstance, nullptr, 1.0},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP", 1.0},
    {"T_MEASURED", ParamAction::Rename, "TNOM", 1.0},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP", 1.0},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr, 1.0},
    {"VC1", ParamAction::NotSupported, nullptr, 1.0},
    {"VC2", ParamAction::NotSupported, nullptr, 1.0},
};
static_assert(std::size(kCapacitorRules) == 9);

}  // namespace

ParamRuleTable CapacitorRules() { return kCapacitorRules; }

}  // namespace zav
