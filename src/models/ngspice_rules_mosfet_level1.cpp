// Parameter translation rules for ngspice: MOSFET models of level 1 and of every level
// without a table of its own; ngspice's level 1.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <array>

#include "models/ngspice_rules.h"
#include "models/ngspice_rules_mosfet_common.h"

namespace zav {
namespace {

constexpr auto kLevel1OwnRules = std::to_array<ParamRule>({
    {"DELTA", ParamAction::NotSupported, nullptr},
    {"GAMMA", ParamAction::Keep, nullptr},
    {"KP", ParamAction::Keep, nullptr},
    {"LAMBDA", ParamAction::Keep, nullptr},
    {"LD", ParamAction::Keep, nullptr},
    {"NFS", ParamAction::NotSupported, nullptr},
    {"NSS", ParamAction::Keep, nullptr},
    {"NSUB", ParamAction::Keep, nullptr},
    {"PHI", ParamAction::Keep, nullptr},
    {"TOX", ParamAction::Keep, nullptr},
    {"TPG", ParamAction::Keep, nullptr},
    {"UTRA", ParamAction::NotSupported, nullptr},
    {"UO", ParamAction::Keep, nullptr},
    {"VMAX", ParamAction::NotSupported, nullptr},
    {"VTO", ParamAction::Keep, nullptr},
    {"WD", ParamAction::NotSupported, nullptr},
    {"XQC", ParamAction::NotSupported, nullptr},
});
constexpr auto kNgspiceMosfetLevel1Rules = WithNgspiceCommonMosfetRules(kLevel1OwnRules);
static_assert(kNgspiceMosfetLevel1Rules.size() == 51);

}  // namespace

ParamRuleTable NgspiceMosfetLevel1Rules() { return kNgspiceMosfetLevel1Rules; }

}  // namespace zav
