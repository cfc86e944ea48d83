// Parameter translation rules for MOSFET models of level 1
// and of every level without a table of its own.
#include <array>

#include "models/param_rule.h"
#include "models/rules_mosfet_common.h"

namespace zav {
namespace {

// The mobility is spelt "UO" with the letter O in the level 1 to 3 tables.
constexpr std::array<ParamRule, 17> kLevel1OwnRules = {{
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
    {"WD", ParamAction::Keep, nullptr},
    {"XQC", ParamAction::Keep, nullptr},
}};

constexpr auto kMosfetLevel1Rules = WithCommonMosfetRules(kLevel1OwnRules);
static_assert(kMosfetLevel1Rules.size() == 51);

}  // namespace

ParamRuleTable MosfetLevel1Rules() { return kMosfetLevel1Rules; }

}  // namespace zav
