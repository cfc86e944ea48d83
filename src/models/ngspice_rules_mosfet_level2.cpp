// Parameter translation rules for ngspice: MOSFET models of level 2; ngspice's level 2.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <array>

#include "models/ngspice_rules.h"
#include "models/ngspice_rules_mosfet_common.h"

namespace zav {
namespace {

constexpr auto kLevel2OwnRules = std::to_array<ParamRule>({
    {"DELTA", ParamAction::Keep, nullptr},
    {"GAMMA", ParamAction::Keep, nullptr},
    {"KP", ParamAction::Keep, nullptr},
    {"LAMBDA", ParamAction::Keep, nullptr},
    {"LD", ParamAction::Keep, nullptr},
    {"NEFF", ParamAction::Keep, nullptr},
    {"NFS", ParamAction::Keep, nullptr},
    {"NSS", ParamAction::Keep, nullptr},
    {"NSUB", ParamAction::Keep, nullptr},
    {"PHI", ParamAction::Keep, nullptr},
    {"TOX", ParamAction::Keep, nullptr},
    {"TPG", ParamAction::Keep, nullptr},
    {"UCRIT", ParamAction::Keep, nullptr},
    {"UEXP", ParamAction::Keep, nullptr},
    {"UTRA", ParamAction::NotSupported, nullptr},
    {"UO", ParamAction::Keep, nullptr},
    {"VMAX", ParamAction::Keep, nullptr},
    {"VTO", ParamAction::Keep, nullptr},
    {"WD", ParamAction::NotSupported, nullptr},
    {"XJ", ParamAction::Keep, nullptr},
    {"XQC", ParamAction::NotSupported, nullptr},
});
constexpr auto kNgspiceMosfetLevel2Rules = WithNgspiceCommonMosfetRules(kLevel2OwnRules);
static_assert(kNgspiceMosfetLevel2Rules.size() == 55);

}  // namespace

ParamRuleTable NgspiceMosfetLevel2Rules() { return kNgspiceMosfetLevel2Rules; }

}  // namespace zav
