// Parameter translation rules for MOSFET models of level 3.
#include <array>

#include "models/param_rule.h"
#include "models/rules_mosfet_common.h"

namespace zav {
namespace {

// The mobility is spelt "UO" with the letter O in the level 1 to 3 tables.
constexpr std::array<ParamRule, 20> kLevel3OwnRules = {{
    {"DELTA", ParamAction::Keep, nullptr, 1.0},
    {"ETA", ParamAction::Keep, nullptr, 1.0},
    {"GAMMA", ParamAction::Keep, nullptr, 1.0},
    {"KP", ParamAction::Keep, nullptr, 1.0},
    {"KAPPA", ParamAction::Keep, nullptr, 1.0},
    {"LD", ParamAction::Keep, nullptr, 1.0},
    {"NFS", ParamAction::Keep, nullptr, 1.0},
    {"NSS", ParamAction::Keep, nullptr, 1.0},
    {"NSUB", ParamAction::Keep, nullptr, 1.0},
    {"PHI", ParamAction::Keep, nullptr, 1.0},
    {"THETA", ParamAction::Keep, nullptr, 1.0},
    {"TOX", ParamAction::Keep, nullptr, 1.0},
    {"TPG", ParamAction::Keep, nullptr, 1.0},
    {"UTRA", ParamAction::NotSupported, nullptr, 1.0},
    {"UO", ParamAction::Keep, nullptr, 1.0},
    {"VMAX", ParamAction::Keep, nullptr, 1.0},
    {"VTO", ParamAction::Keep, nullptr, 1.0},
    {"WD", ParamAction::Keep, nullptr, 1.0},
    {"XJ", ParamAction::Keep, nullptr, 1.0},
    {"XQC", ParamAction::Keep, nullptr, 1.0},
}};

constexpr auto kMosfetLevel3Rules = WithCommonMosfetRules(kLevel3OwnRules);
static_assert(kMosfetLevel3Rules.size() == 54);

}  // namespace

ParamRuleTable MosfetLevel3Rules() { return kMosfetLevel3Rules; }

}  // namespace zav
