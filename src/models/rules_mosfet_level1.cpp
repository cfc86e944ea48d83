// Parameter translation rules for MOSFET models of level 1
// and of every level without a table of its own.
#include <array>

#include "models/param_rule.h"
#include "models/rules_mosfet_common.h"

namespace zav {
namespace {

// The mobility is spelt "UO" with the letter O in the level 1 to 3 tables.
constexpr std::array<ParamRule, 17> kLevel1OwnRules = {{
    {"DELTA", ParamAction::NotSupported, nullptr, 1.0},
    {"GAMMA", ParamAction::Keep, nullptr, 1.0},
    {"KP", ParamAction::Keep, nullptr, 1.0},
    {"LAMBDA", ParamAction::Keep, nullptr, 1.0},
    {"LD", ParamAction::Keep, nullptr, 1.0},
    {"NFS", ParamAction::NotSupported, nullptr, 1.0},
    {"NSS", ParamAction::Keep, nullptr, 1.0},
    {"NSUB", ParamAction::Keep, nullptr, 1.0},
    {"PHI", ParamAction::Keep, nullptr, 1.0},
    {"TOX", ParamAction::Keep, nullptr, 1.0},
    {"TPG", ParamAction::Keep, nullptr, 1.0},
    {"UTRA", ParamAction::NotSupported, nullptr, 1.0},
    {"UO", ParamAction::Keep, nullptr, 1.0},
    {"VMAX", ParamAction::NotSupported, nullptr, 1.0},
    {"VTO", ParamAction::Keep, nullptr, 1.0},
    {"WD", ParamAction::Keep, nullptr, 1.0},
    {"XQC", ParamAction::Keep, nullptr, 1.0},
}};

constexpr auto kMosfetLevel1Rules = WithCommonMosfetRules(kLevel1OwnRules);
static_assert(kMosfetLevel1Rules.size() == 51);

}  // namespace

ParamRuleTable MosfetLevel1Rules() { return kMosfetLevel1Rules; }

}  // namespace zav
