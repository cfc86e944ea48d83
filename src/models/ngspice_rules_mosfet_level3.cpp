// Parameter translation rules for ngspice: MOSFET models of level 3; ngspice's level 3.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <array>

#include "models/ngspice_rules.h"
#include "models/ngspice_rules_mosfet_common.h"

namespace zav {
namespace {

constexpr auto kLevel3OwnRules = std::to_array<ParamRule>({
    {"DELTA", ParamAction::Keep, nullptr},
    {"ETA", ParamAction::Keep, nullptr},
    {"GAMMA", ParamAction::Keep, nullptr},
    {"KP", ParamAction::Keep, nullptr},
    {"KAPPA", ParamAction::Keep, nullptr},
    {"LD", ParamAction::Keep, nullptr},
    {"NFS", ParamAction::Keep, nullptr},
    {"NSS", ParamAction::Keep, nullptr},
    {"NSUB", ParamAction::Keep, nullptr},
    {"PHI", ParamAction::Keep, nullptr},
    {"THETA", ParamAction::Keep, nullptr},
    {"TOX", ParamAction::Keep, nullptr},
    {"TPG", ParamAction::Keep, nullptr},
    {"UTRA", ParamAction::NotSupported, nullptr},
    {"UO", ParamAction::Keep, nullptr},
    {"VMAX", ParamAction::Keep, nullptr},
    {"VTO", ParamAction::Keep, nullptr},
    {"WD", ParamAction::Keep, nullptr},
    {"XJ", ParamAction::Keep, nullptr},
    {"XQC", ParamAction::NotSupported, nullptr},
});
constexpr auto kNgspiceMosfetLevel3Rules = WithNgspiceCommonMosfetRules(kLevel3OwnRules);
static_assert(kNgspiceMosfetLevel3Rules.size() == 54);

}  // namespace

ParamRuleTable NgspiceMosfetLevel3Rules() { return kNgspiceMosfetLevel3Rules; }

}  // namespace zav
