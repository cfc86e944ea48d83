// Parameter translation rules for current-controlled switch models (ISWITCH).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// The switch tables have no temperature rows.
constexpr ParamRule kCurrentSwitchRules[] = {
    {"IOFF", ParamAction::Rename, "IH"},
    {"ION", ParamAction::Rename, "IT"},
    {"ROFF", ParamAction::Keep, nullptr},
    {"RON", ParamAction::Keep, nullptr},
};
static_assert(std::size(kCurrentSwitchRules) == 4);

}  // namespace

ParamRuleTable CurrentSwitchRules() { return kCurrentSwitchRules; }

}  // namespace zav
