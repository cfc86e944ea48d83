// Parameter translation rules for ngspice: Capacitor models (CAP); ngspice's type C.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <iterator>

#include "models/ngspice_rules.h"

namespace zav {
namespace {

// The dialect's C multiplies the value of each capacitor, as ngspice's
// instance SCALE does; ngspice's model C is only a type flag. The temperature
// coefficients stay: ngspice's model takes them.
constexpr ParamRule kNgspiceCapacitorRules[] = {
    {"C", ParamAction::MoveToInstance, "SCALE"},
    {"TC1", ParamAction::Keep, nullptr},
    {"TC2", ParamAction::Keep, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
    {"VC1", ParamAction::NotSupported, nullptr},
    {"VC2", ParamAction::NotSupported, nullptr},
};
static_assert(std::size(kNgspiceCapacitorRules) == 9);

}  // namespace

ParamRuleTable NgspiceCapacitorRules() { return kNgspiceCapacitorRules; }

}  // namespace zav
