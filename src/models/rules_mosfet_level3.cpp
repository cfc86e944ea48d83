// Parameter translation rules for MOSFET models of level 3.
#include <array>

#include "models/param_rule.h"
#include "models/rules_mosfet_common.h"

namespace zav {
namespace {

// The mobility is spelt "UO" with the letter O in the level 1 to 3 tables.
constexpr std::array<ParamRule, 20> kLevel3OwnRules = {{
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
    {"XQC", ParamAction::Keep, nullptr},
}};

constexpr auto kMosfetLevel3Rules = WithCommonMosfetRules(kLevel3OwnRules);
static_assert(kMosfetLevel3Rules.size() == 54);

}  // namespace

ParamRuleTable MosfetLevel3Rules() { return kMosfetLevel3Rules; }

}  // namespace zav
