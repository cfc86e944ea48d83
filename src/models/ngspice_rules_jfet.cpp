// Parameter translation rules for ngspice: Junction FET models (NJF, PJF); ngspice's JFET level 1.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <iterator>

#include "models/ngspice_rules.h"

namespace zav {
namespace {

// ngspice's JFET has no grading coefficient M (its M is the instance
// multiplier) and no gate recombination current (ISR, N, NR) or ALPHA and VK.
constexpr ParamRule kNgspiceJfetRules[] = {
    {"AF", ParamAction::Keep, nullptr},
    {"ALPHA", ParamAction::NotSupported, nullptr},
    {"BETA", ParamAction::Keep, nullptr},
    {"BETATCE", ParamAction::Keep, nullptr},
    {"CGD", ParamAction::Keep, nullptr},
    {"CGS", ParamAction::Keep, nullptr},
    {"FC", ParamAction::Keep, nullptr},
    {"IS", ParamAction::Keep, nullptr},
    {"ISR", ParamAction::NotSupported, nullptr},
    {"KF", ParamAction::Keep, nullptr},
    {"LAMBDA", ParamAction::Keep, nullptr},
    {"M", ParamAction::NotSupported, nullptr},
    {"N", ParamAction::NotSupported, nullptr},
    {"NR", ParamAction::NotSupported, nullptr},
    {"PB", ParamAction::Keep, nullptr},
    {"RD", ParamAction::Keep, nullptr},
    {"RS", ParamAction::Keep, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
    {"VK", ParamAction::NotSupported, nullptr},
    {"VTO", ParamAction::Keep, nullptr},
    {"VTOTC", ParamAction::Keep, nullptr},
    {"XTI", ParamAction::Keep, nullptr},
};
static_assert(std::size(kNgspiceJfetRules) == 25);

}  // namespace

ParamRuleTable NgspiceJfetRules() { return kNgspiceJfetRules; }

}  // namespace zav
