// Parameter translation rules for ngspice: Current-controlled switch models (ISWITCH);
// ngspice's type CSW.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <iterator>

#include "models/ngspice_rules.h"

namespace zav {
namespace {

// ION and IOFF become IT and IH; their values are worked out from both by
// the switch step (switch_points.h).
constexpr ParamRule kNgspiceCurrentSwitchRules[] = {
    {"IOFF", ParamAction::Rename, "IH"},
    {"ION", ParamAction::Rename, "IT"},
    {"ROFF", ParamAction::Keep, nullptr},
    {"RON", ParamAction::Keep, nullptr},
};
static_assert(std::size(kNgspiceCurrentSwitchRules) == 4);

}  // namespace

ParamRuleTable NgspiceCurrentSwitchRules() { return kNgspiceCurrentSwitchRules; }

}  // namespace zav
