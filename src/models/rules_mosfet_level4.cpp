// Parameter translation rules for MOSFET models of level 4.
#include <array>

#include "models/param_rule.h"
#include "models/rules_mosfet_common.h"

namespace zav {
namespace {

// Unlike levels 1 to 3, this level spells the mobility "U0" with a digit zero.
constexpr std::array<ParamRule, 62> kLevel4OwnRules = {{
    {"DL", ParamAction::Keep, nullptr},
    {"DW", ParamAction::Keep, nullptr},
    {"ETA", ParamAction::Keep, nullptr},
    {"LETA", ParamAction::Keep, nullptr},
    {"WETA", ParamAction::Keep, nullptr},
    {"K1", ParamAction::Keep, nullptr},
    {"LK1", ParamAction::Keep, nullptr},
    {"WK1", ParamAction::Keep, nullptr},
    {"MUS", ParamAction::Keep, nullptr},
    {"LMUS", ParamAction::Keep, nullptr},
    {"WMUS", ParamAction::Keep, nullptr},
    {"MUZ", ParamAction::Keep, nullptr},
    {"N0", ParamAction::Keep, nullptr},
    {"LN0", ParamAction::Keep, nullptr},
    {"WN0", ParamAction::Keep, nullptr},
    {"NB", ParamAction::Keep, nullptr},
    {"LNB", ParamAction::Keep, nullptr},
    {"WNB", ParamAction::Keep, nullptr},
    {"ND", ParamAction::Keep, nullptr},
    {"LND", ParamAction::Keep, nullptr},
    {"WND", ParamAction::Keep, nullptr},
    {"PHI", ParamAction::Keep, nullptr},
    {"LPHI", ParamAction::Keep, nullptr},
    {"WPHI", ParamAction::Keep, nullptr},
    {"TEMP", ParamAction::Keep, nullptr},
    {"TOX", ParamAction::Keep, nullptr},
    {"U0", ParamAction::Keep, nullptr},
    {"LU0", ParamAction::Keep, nullptr},
    {"WU0", ParamAction::Keep, nullptr},
    {"U1", ParamAction::Keep, nullptr},
    {"LU1", ParamAction::Keep, nullptr},
    {"WU1", ParamAction::Keep, nullptr},
    {"VDD", ParamAction::Keep, nullptr},
    {"VFB", ParamAction::Keep, nullptr},
    {"LVFB", ParamAction::Keep, nullptr},
    {"WVFB", ParamAction::Keep, nullptr},
    {"WDF", ParamAction::Keep, nullptr},
    {"X2E", ParamAction::Keep, nullptr},
    {"LX2E", ParamAction::Keep, nullptr},
    {"WX2E", ParamAction::Keep, nullptr},
    {"X2MS", ParamAction::Keep, nullptr},
    {"LX2MS", ParamAction::Keep, nullptr},
    {"WX2MS", ParamAction::Keep, nullptr},
    {"X2MZ", ParamAction::Keep, nullptr},
    {"LX2MZ", ParamAction::Keep, nullptr},
    {"WX2MZ", ParamAction::Keep, nullptr},
    {"X2U0", ParamAction::Keep, nullptr},
    {"LX2U0", ParamAction::Keep, nullptr},
    {"WX2U0", ParamAction::Keep, nullptr},
    {"X2U1", ParamAction::Keep, nullptr},
    {"LX2U1", ParamAction::Keep, nullptr},
    {"WX2U1", ParamAction::Keep, nullptr},
    {"X3E", ParamAction::Keep, nullptr},
    {"LX3E", ParamAction::Keep, nullptr},
    {"WX3E", ParamAction::Keep, nullptr},
    {"X3MS", ParamAction::Keep, nullptr},
    {"LX3MS", ParamAction::Keep, nullptr},
    {"WX3MS", ParamAction::Keep, nullptr},
    {"X3U1", ParamAction::Keep, nullptr},
    {"LX3U1", ParamAction::Keep, nullptr},
    {"WX3U1", ParamAction::Keep, nullptr},
    {"XPART", ParamAction::Keep, nullptr},
}};

constexpr auto kMosfetLevel4Rules = WithCommonMosfetRules(kLevel4OwnRules);
static_assert(kMosfetLevel4Rules.size() == 96);

}  // namespace

ParamRuleTable MosfetLevel4Rules() { return kMosfetLevel4Rules; }

}  // namespace zav
