// Parameter translation rules for ngspice: Inductor models (IND); ngspice's type L.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <iterator>

#include "models/ngspice_rules.h"

namespace zav {
namespace {

// The dialect's L multiplies the value of each inductor, as ngspice's
// instance SCALE does; ngspice's model L is only a type flag. The temperature
// coefficients stay: ngspice's model takes them.
constexpr ParamRule kNgspiceInductorRules[] = {
    {"L", ParamAction::MoveToInstance, "SCALE"},
    {"IL1", ParamAction::NotSupported, nullptr},
    {"IL2", ParamAction::NotSupported, nullptr},
    {"TC1", ParamAction::Keep, nullptr},
    {"TC2", ParamAction::Keep, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
};
static_assert(std::size(kNgspiceInductorRules) == 9);

}  // namespace

ParamRuleTable NgspiceInductorRules() { return kNgspiceInductorRules; }

}  // namespace zav
