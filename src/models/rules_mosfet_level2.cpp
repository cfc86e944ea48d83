// Parameter translation rules for MOSFET models of level 2.
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

// The mobility is spelt "UO" with the letter O in the level 1 to 3 tables.
constexpr ParamRule kMosfetLevel2Rules[] = {
    {"AF", ParamAction::Keep, nullptr, 1.0},
    {"CBD", ParamAction::Keep, nullptr, 1.0},
    {"CBS", ParamAction::Keep, nullptr, 1.0},
    {"CGBO", ParamAction::Keep, nullptr, 1.0},
    {"CGDO", ParamAction::Keep, nullptr, 1.0},
    {"CGSO", ParamAction::Keep, nullptr, 1.0},
    {"CJ", ParamAction::Keep, nullptr, 1.0},
    {"CJSW", ParamAction::Keep, nullptr, 1.0},
    {"FC", ParamAction::Keep, nullptr, 1.0},
    {"GDSNOI", ParamAction::NotSupported, nullptr, 1.0},
    {"IS", ParamAction::Keep, nullptr, 1.0},
    {"JS", ParamAction::Keep, nullptr, 1.0},
    {"JSSW", ParamAction::Keep, nullptr, 1.0},
    {"KF", ParamAction::Keep, nullptr, 1.0},
    {"L", ParamAction::MoveToInstance, "L", 1.0},
    {"LEVEL", ParamAction::Keep, nullptr, 1.0},
    {"MJ", ParamAction::Keep, nullptr, 1.0},
    {"MJSW", ParamAction::Keep, nullptr, 1.0},
    {"N", ParamAction::NotSupported, nullptr, 1.0},
    {"NLEV", ParamAction::NotSupported, nullptr, 1.0},
    {"PB", ParamAction::Keep, nullptr, 1.0},
    {"PBSW", ParamAction::Keep, nullptr, 1.0},
    {"RB", ParamAction::NotSupported, nullptr, 1.0},
    {"RD", ParamAction::Keep, nullptr, 1.0},
    {"RDS", ParamAction::NotSupported, nullptr, 1.0},
    {"RG", ParamAction::NotSupported, nullptr, 1.0},
    {"RS", ParamAction::Keep, nullptr, 1.0},
    {"RSH", ParamAction::Keep, nullptr, 1.0},
    {"TT", ParamAction::NotSupported, nullptr, 1.0},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP", 1.0},
    {"T_MEASURED", ParamAction::Rename, "TNOM", 1.0},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP", 1.0},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr, 1.0},
    {"W", ParamAction::MoveToInstance, "W", 1.0},
    {"DELTA", ParamAction::Keep, nullptr, 1.0},
    {"GAMMA", ParamAction::Keep, nullptr, 1.0},
    {"KP", ParamAction::Keep, nullptr, 1.0},
    {"LAMBDA", ParamAction::Keep, nullptr, 1.0},
    {"LD", ParamAction::Keep, nullptr, 1.0},
    {"NEFF", ParamAction::Keep, nullptr, 1.0},
    {"NFS", ParamAction::Keep, nullptr, 1.0},
    {"NSS", ParamAction::Keep, nullptr, 1.0},
    {"NSUB", ParamAction::Keep, nullptr, 1.0},
    {"PHI", ParamAction::Keep, nullptr, 1.0},
    {"TOX", ParamAction::Keep, nullptr, 1.0},
    {"TPG", ParamAction::Keep, nullptr, 1.0},
    {"UCRIT", ParamAction::Keep, nullptr, 1.0},
    {"UEXP", ParamAction::Keep, nullptr, 1.0},
    {"UTRA", ParamAction::Keep, nullptr, 1.0},
    {"UO", ParamAction::Keep, nullptr, 1.0},
    {"VMAX", ParamAction::Keep, nullptr, 1.0},
    {"VTO", ParamAction::Keep, nullptr, 1.0},
    {"WD", ParamAction::Keep, nullptr, 1.0},
    {"XJ", ParamAction::Keep, nullptr, 1.0},
    {"XQC", ParamAction::Keep, nullptr, 1.0},
};
static_assert(std::size(kMosfetLevel2Rules) == 55);

}  // namespace

ParamRuleTable MosfetLevel2Rules() { return kMosfetLevel2Rules; }

}  // namespace zav
