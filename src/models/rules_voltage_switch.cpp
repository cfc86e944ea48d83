// Parameter translation rules for voltage-controlled switch models (VSWITCH).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// The switch tables have no temperature rows.
constexpr ParamRule kVoltageSwitchRules[] = {
    {"ROFF", ParamAction::Keep, nullptr},
    {"RON", ParamAction::Keep, nullptr},
    {"VOFF", ParamAction::Rename, "VH"},
    {"VON", ParamAction::Rename, "VT"},
};
static_assert(std::size(kVoltageSwitchRules) == 4);

}  // namespace

ParamRuleTable VoltageSwitchRules() { return kVoltageSwitchRules; }

}  // namespace zav
