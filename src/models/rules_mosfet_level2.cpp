// Parameter translation rules for MOSFET models of level 2.
#include <array>

#include "models/param_rule.h"
#include "models/rules_mosfet_common.h"

namespace zav {
namespace {

// The mobility is spelt "UO" with the letter O in the level 1 to 3 tables.
constexpr std::array<ParamRule, 21> kLevel2OwnRules = {{
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
}};

constexpr auto kMosfetLevel2Rules = WithCommonMosfetRules(kLevel2OwnRules);
static_assert(kMosfetLevel2Rules.size() == 55);

}  // namespace

ParamRuleTable MosfetLevel2Rules() { return kMosfetLevel2Rules; }

}  // namespace zav
