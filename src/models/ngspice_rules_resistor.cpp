// Parameter translation rules for ngspice: Resistor models (RES); ngspice's type R.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <iterator>

#include "models/ngspice_rules.h"

namespace zav {
namespace {

// The dialect's R multiplies the value of each resistor, as ngspice's
// instance SCALE does; ngspice's model R is a value for a resistor written
// without one. TCE is the same exponential coefficient in both.
constexpr ParamRule kNgspiceResistorRules[] = {
    {"R", ParamAction::MoveToInstance, "SCALE"},
    {"TC1", ParamAction::Keep, nullptr},
    {"TC2", ParamAction::Keep, nullptr},
    {"TCE", ParamAction::Keep, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
};
static_assert(std::size(kNgspiceResistorRules) == 8);

}  // namespace

ParamRuleTable NgspiceResistorRules() { return kNgspiceResistorRules; }

}  // namespace zav
