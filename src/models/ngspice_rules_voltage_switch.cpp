// Parameter translation rules for ngspice: Voltage-controlled switch models (VSWITCH); ngspice's
// type SW.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <iterator>

#include "models/ngspice_rules.h"

namespace zav {
namespace {

// VON and VOFF become VT and VH; their values are worked out from both by
// the switch step (switch_points.h).
constexpr ParamRule kNgspiceVoltageSwitchRules[] = {
    {"ROFF", ParamAction::Keep, nullptr},
    {"RON", ParamAction::Keep, nullptr},
    {"VOFF", ParamAction::Rename, "VH"},
    {"VON", ParamAction::Rename, "VT"},
};
static_assert(std::size(kNgspiceVoltageSwitchRules) == 4);

}  // namespace

ParamRuleTable NgspiceVoltageSwitchRules() { return kNgspiceVoltageSwitchRules; }

}  // namespace zav
