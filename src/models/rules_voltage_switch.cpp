// Parameter translation rules for voltage-controlled switch models (VSWITCH).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// The switch tables have no temperature rows.
constexpr ParamRule kVoltageSwitchRules[] = {
    {"ROFF", ParamAction::Keep, nullptr, 1.0},
    {"RON", ParamAction::Keep, nullptr, 1.0},
    {"VOFF", ParamAction::Rename, "VH", 1.0},
    {"VON", ParamAction::Rename, "VT", 1.0},
};
static_assert(std::size(kVoltageSwitchRules) == 4);

}  // namespace

ParamRuleTable VoltageSwitchRules() { return kVoltageSwitchRules; }

}  // namespace zav
