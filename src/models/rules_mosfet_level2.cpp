// Parameter translation rules for MOSFET models of level 2.
#include <array>

#include "models/param_rule.h"
#include "models/rules_mosfet_common.h"

namespace zav {
namespace {

// The mobility is spelt "UO" with the letter O in the level 1 to 3 tables.
constexpr std::array<ParamRule, 21> kLevel2OwnRules = {{
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
    {"UTRA", ParamAction::Keep, nullptr},
    {"UO", ParamAction::Keep, nullptr},
    {"VMAX", ParamAction::Keep, nullptr},
    {"VTO", ParamAction::Keep, nullptr},
    {"WD", ParamAction::Keep, nullptr},
    {"XJ", ParamAction::Keep, nullptr},
    {"XQC", ParamAction::Keep, nullptr},
}};

constexpr auto kMosfetLevel2Rules = WithCommonMosfetRules(kLevel2OwnRules);
static_assert(kMosfetLevel2Rules.size() == 55);

}  // namespace

ParamRuleTable MosfetLevel2Rules() { return kMosfetLevel2Rules; }

}  // namespace zav
