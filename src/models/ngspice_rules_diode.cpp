// Parameter translation rules for ngspice: Diode models (D); ngspice's junction diode.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <iterator>

#include "models/ngspice_rules.h"

namespace zav {
namespace {

// TBV1 has no counterpart: ngspice's TCV lowers BV by TCV volts per degree,
// the dialect's TBV1 scales BV by (1 + TBV1 per degree).
constexpr ParamRule kNgspiceDiodeRules[] = {
    {"AF", ParamAction::Keep, nullptr},
    {"BV", ParamAction::Keep, nullptr},
    {"CJO", ParamAction::Keep, nullptr},
    {"EG", ParamAction::Keep, nullptr},
    {"FC", ParamAction::Keep, nullptr},
    {"IBVL", ParamAction::NotSupported, nullptr},
    {"IBV", ParamAction::Keep, nullptr},
    {"IKF", ParamAction::Keep, nullptr},
    {"IS", ParamAction::Keep, nullptr},
    {"ISR", ParamAction::Keep, nullptr},
    {"KF", ParamAction::Keep, nullptr},
    {"M", ParamAction::Keep, nullptr},
    {"N", ParamAction::Keep, nullptr},
    {"NBV", ParamAction::Keep, nullptr},
    {"NBVL", ParamAction::NotSupported, nullptr},
    {"NR", ParamAction::Keep, nullptr},
    {"RS", ParamAction::Keep, nullptr},
    {"TBV1", ParamAction::NotSupported, nullptr},
    {"TBV2", ParamAction::NotSupported, nullptr},
    {"TIKF", ParamAction::NotSupported, nullptr},
    {"TRS1", ParamAction::Keep, nullptr},
    {"TRS2", ParamAction::Keep, nullptr},
    {"TT", ParamAction::Keep, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
    {"VJ", ParamAction::Keep, nullptr},
    {"XTI", ParamAction::Keep, nullptr},
};
static_assert(std::size(kNgspiceDiodeRules) == 29);

}  // namespace

ParamRuleTable NgspiceDiodeRules() { return kNgspiceDiodeRules; }

}  // namespace zav
