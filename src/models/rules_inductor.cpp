// Parameter translation rules for inductor models (IND).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// TC1 and TC2 leave the model together as one "TC" parameter on each element,
// so TC2 needs no target of its own.
constexpr ParamRule kInductorRules[] = {
    {"L", ParamAction::NotSupported, nullptr},
    {"IL1", ParamAction::NotSupported, nullptr},
    {"IL2", ParamAction::NotSupported, nullptr},
    {"TC1", ParamAction::MoveToInstance, "TC"},
    {"TC2", ParamAction::MoveToInstance, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
};
static_assert(std::size(kInductorRules) == 9);

}  // namespace

ParamRuleTable InductorRules() { return kInductorRules; }

}  // namespace zav
