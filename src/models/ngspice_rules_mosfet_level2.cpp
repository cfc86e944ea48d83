// Parameter translation rules for ngspice: MOSFET models of level 2; ngspice's level 2.
// Made from ngspice 39's own lists of its model and instance parameters
// (devhelp -csv), row for row against the host table of the same type: a
// name ngspice's model takes is kept, one it takes under another name is
// renamed, the others are commented out.
#include <iterator>

#include "models/ngspice_rules.h"

namespace zav {
namespace {

constexpr ParamRule kNgspiceMosfetLevel2Rules[] = {
    {"AF", ParamAction::Keep, nullptr},
    {"CBD", ParamAction::Keep, nullptr},
    {"CBS", ParamAction::Keep, nullptr},
    {"CGBO", ParamAction::Keep, nullptr},
    {"CGDO", ParamAction::Keep, nullptr},
    {"CGSO", ParamAction::Keep, nullptr},
    {"CJ", ParamAction::Keep, nullptr},
    {"CJSW", ParamAction::Keep, nullptr},
    {"FC", ParamAction::Keep, nullptr},
    {"GDSNOI", ParamAction::NotSupported, nullptr},
    {"IS", ParamAction::Keep, nullptr},
    {"JS", ParamAction::Keep, nullptr},
    {"JSSW", ParamAction::NotSupported, nullptr},
    {"KF", ParamAction::Keep, nullptr},
    {"L", ParamAction::MoveToInstance, "L"},
    {"LEVEL", ParamAction::Keep, nullptr},
    {"MJ", ParamAction::Keep, nullptr},
    {"MJSW", ParamAction::Keep, nullptr},
    {"N", ParamAction::NotSupported, nullptr},
    {"NLEV", ParamAction::NotSupported, nullptr},
    {"PB", ParamAction::Keep, nullptr},
    {"PBSW", ParamAction::NotSupported, nullptr},
    {"RB", ParamAction::NotSupported, nullptr},
    {"RD", ParamAction::Keep, nullptr},
    {"RDS", ParamAction::NotSupported, nullptr},
    {"RG", ParamAction::NotSupported, nullptr},
    {"RS", ParamAction::Keep, nullptr},
    {"RSH", ParamAction::Keep, nullptr},
    {"TT", ParamAction::NotSupported, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
    {"W", ParamAction::MoveToInstance, "W"},
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
};
static_assert(std::size(kNgspiceMosfetLevel2Rules) == 55);

}  // namespace

ParamRuleTable NgspiceMosfetLevel2Rules() { return kNgspiceMosfetLevel2Rules; }

}  // namespace zav
