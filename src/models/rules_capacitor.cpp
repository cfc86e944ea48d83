// Parameter translation rules for capacitor models (CAP).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// TC1 and TC2 leave the model together as one "TC" parameter on each element,
// so TC2 needs no target of its own.
constexpr ParamRule kCapacitorRules[] = {
    {"C", ParamAction::NotSupported, nullptr},
    {"TC1", ParamAction::MoveToInstance, "TC"},
    {"TC2", ParamAction::MoveToInstance, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
    {"VC1", ParamAction::NotSupported, nullptr},
    {"VC2", ParamAction::NotSupported, nullptr},
};
static_assert(std::size(kCapacitorRules) == 9);

}  // namespace

ParamRuleTable CapacitorRules() { return kCapacitorRules; }

}  // namespace zav
