// Parameter translation rules for current-controlled switch models (ISWITCH).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// The switch tables have no temperature rows.
constexpr ParamRule kCurrentSwitchRules[] = {
    {"IOFF", ParamAction::Rename, "IH", 1.0},
    {"ION", ParamAction::Rename, "IT", 1.0},
    {"ROFF", ParamAction::Keep, nullptr, 1.0},
    {"RON", ParamAction::Keep, nullptr, 1.0},
};
static_assert(std::size(kCurrentSwitchRules) == 4);

}  // namespace

ParamRuleTable CurrentSwitchRules() { return kCurrentSwitchRules; }

}  // namespace zav
