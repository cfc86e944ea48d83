// Parameter translation rules for ngspice: Bipolar transistor models (NPN, PNP, LPNP); ngspice's
// Gummel-Poon transistor, whose quasi-saturation parameters (RCO, VO, GAMMA,
// QCO) are the dialect's.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <iterator>

#include "models/ngspice_rules.h"

namespace zav {
namespace {

constexpr ParamRule kNgspiceBjtRules[] = {
    {"AF", ParamAction::Keep, nullptr},
    {"BF", ParamAction::Keep, nullptr},
    {"BR", ParamAction::Keep, nullptr},
    {"CJC", ParamAction::Keep, nullptr},
    {"CJE", ParamAction::Keep, nullptr},
    {"CJS", ParamAction::Keep, nullptr},
    {"CCS", ParamAction::Keep, nullptr},
    {"EG", ParamAction::Keep, nullptr},
    {"FC", ParamAction::Keep, nullptr},
    {"GAMMA", ParamAction::Keep, nullptr},
    {"IKF", ParamAction::Keep, nullptr},
    {"IK", ParamAction::Keep, nullptr},
    {"IKR", ParamAction::Keep, nullptr},
    {"IRB", ParamAction::Keep, nullptr},
    {"IS", ParamAction::Keep, nullptr},
    {"ISC", ParamAction::Keep, nullptr},
    {"C4", ParamAction::Keep, nullptr},
    {"ISE", ParamAction::Keep, nullptr},
    {"C2", ParamAction::Keep, nullptr},
    {"ISS", ParamAction::Keep, nullptr},
    {"ITF", ParamAction::Keep, nullptr},
    {"KF", ParamAction::Keep, nullptr},
    {"MJC", ParamAction::Keep, nullptr},
    {"MC", ParamAction::Keep, nullptr},
    {"MJE", ParamAction::Keep, nullptr},
    {"ME", ParamAction::Keep, nullptr},
    {"MJS", ParamAction::Keep, nullptr},
    {"MS", ParamAction::Keep, nullptr},
    {"NC", ParamAction::Keep, nullptr},
    {"NE", ParamAction::Keep, nullptr},
    {"NF", ParamAction::Keep, nullptr},
    {"NK", ParamAction::Keep, nullptr},
    {"NR", ParamAction::Keep, nullptr},
    {"NS", ParamAction::Keep, nullptr},
    {"PTF", ParamAction::Keep, nullptr},
    {"QCO", ParamAction::Keep, nullptr},
    {"RB", ParamAction::Keep, nullptr},
    {"RBM", ParamAction::Keep, nullptr},
    {"RC", ParamAction::Keep, nullptr},
    {"RCO", ParamAction::Keep, nullptr},
    {"RE", ParamAction::Keep, nullptr},
    {"TF", ParamAction::Keep, nullptr},
    {"TR", ParamAction::Keep, nullptr},
    {"TRB1", ParamAction::Keep, nullptr},
    {"TRB2", ParamAction::Keep, nullptr},
    {"TRC1", ParamAction::Keep, nullptr},
    {"TRC2", ParamAction::Keep, nullptr},
    {"TRE1", ParamAction::Keep, nullptr},
    {"TRE2", ParamAction::Keep, nullptr},
    {"TRM1", ParamAction::Keep, nullptr},
    {"TRM2", ParamAction::Keep, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
    {"VAF", ParamAction::Keep, nullptr},
    {"VA", ParamAction::Keep, nullptr},
    {"VAR", ParamAction::Keep, nullptr},
    {"VB", ParamAction::Keep, nullptr},
    {"VJC", ParamAction::Keep, nullptr},
    {"PC", ParamAction::Keep, nullptr},
    {"VJE", ParamAction::Keep, nullptr},
    {"PE", ParamAction::Keep, nullptr},
    {"VJS", ParamAction::Keep, nullptr},
    {"PS", ParamAction::Keep, nullptr},
    {"VO", ParamAction::Keep, nullptr},
    {"VTF", ParamAction::Keep, nullptr},
    {"XCJC", ParamAction::Keep, nullptr},
    {"XCJC2", ParamAction::NotSupported, nullptr},
    {"XTB", ParamAction::Keep, nullptr},
    {"XTF", ParamAction::Keep, nullptr},
    {"XTI", ParamAction::Keep, nullptr},
    {"PT", ParamAction::Rename, "XTI"},
};
static_assert(std::size(kNgspiceBjtRules) == 73);

}  // namespace

ParamRuleTable NgspiceBjtRules() { return kNgspiceBjtRules; }

}  // namespace zav
