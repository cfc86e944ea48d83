// Parameter translation rules for MOSFET models of level 4.
#include <array>

#include "models/param_rule.h"
#include "models/rules_mosfet_common.h"

namespace zav {
namespace {

// Unlike levels 1 to 3, this level spells the mobility "U0" with a digit zero.
constexpr std::array<ParamRule, 62> kLevel4OwnRules = {{
    {"DL", ParamAction::Keep, nullptr, 1.0},
    {"DW", ParamAction::Keep, nullptr, 1.0},
    {"ETA", ParamAction::Keep, nullptr, 1.0},
    {"LETA", ParamAction::Keep, nullptr, 1.0},
    {"WETA", ParamAction::Keep, nullptr, 1.0},
    {"K1", ParamAction::Keep, nullptr, 1.0},
    {"LK1", ParamAction::Keep, nullptr, 1.0},
    {"WK1", ParamAction::Keep, nullptr, 1.0},
    {"MUS", ParamAction::Keep, nullptr, 1.0},
    {"LMUS", ParamAction::Keep, nullptr, 1.0},
    {"WMUS", ParamAction::Keep, nullptr, 1.0},
    {"MUZ", ParamAction::Keep, nullptr, 1.0},
    {"N0", ParamAction::Keep, nullptr, 1.0},
    {"LN0", ParamAction::Keep, nullptr, 1.0},
    {"WN0", ParamAction::Keep, nullptr, 1.0},
    {"NB", ParamAction::Keep, nullptr, 1.0},
    {"LNB", ParamAction::Keep, nullptr, 1.0},
    {"WNB", ParamAction::Keep, nullptr, 1.0},
    {"ND", ParamAction::Keep, nullptr, 1.0},
    {"LND", ParamAction::Keep, nullptr, 1.0},
    {"WND", ParamAction::Keep, nullptr, 1.0},
    {"PHI", ParamAction::Keep, nullptr, 1.0},
    {"LPHI", ParamAction::Keep, nullptr, 1.0},
    {"WPHI", ParamAction::Keep, nullptr, 1.0},
    {"TEMP", ParamAction::Keep, nullptr, 1.0},
    {"TOX", ParamAction::Keep, nullptr, 1.0},
    {"U0", ParamAction::Keep, nullptr, 1.0},
    {"LU0", ParamAction::Keep, nullptr, 1.0},
    {"WU0", ParamAction::Keep, nullptr, 1.0},
    {"U1", ParamAction::Keep, nullptr, 1.0},
    {"LU1", ParamAction::Keep, nullptr, 1.0},
    {"WU1", ParamAction::Keep, nullptr, 1.0},
    {"VDD", ParamAction::Keep, nullptr, 1.0},
    {"VFB", ParamAction::Keep, nullptr, 1.0},
    {"LVFB", ParamAction::Keep, nullptr, 1.0},
    {"WVFB", ParamAction::Keep, nullptr, 1.0},
    {"WDF", ParamAction::Keep, nullptr, 1.0},
    {"X2E", ParamAction::Keep, nullptr, 1.0},
    {"LX2E", ParamAction::Keep, nullptr, 1.0},
    {"WX2E", ParamAction::Keep, nullptr, 1.0},
    {"X2MS", ParamAction::Keep, nullptr, 1.0},
    {"LX2MS", ParamAction::Keep, nullptr, 1.0},
    {"WX2MS", ParamAction::Keep, nullptr, 1.0},
    {"X2MZ", ParamAction::Keep, nullptr, 1.0},
    {"LX2MZ", ParamAction::Keep, nullptr, 1.0},
    {"WX2MZ", ParamAction::Keep, nullptr, 1.0},
    {"X2U0", ParamAction::Keep, nullptr, 1.0},
    {"LX2U0", ParamAction::Keep, nullptr, 1.0},
    {"WX2U0", ParamAction::Keep, nullptr, 1.0},
    {"X2U1", ParamAction::Keep, nullptr, 1.0},
    {"LX2U1", ParamAction::Keep, nullptr, 1.0},
    {"WX2U1", ParamAction::Keep, nullptr, 1.0},
    {"X3E", ParamAction::Keep, nullptr, 1.0},
    {"LX3E", ParamAction::Keep, nullptr, 1.0},
    {"WX3E", ParamAction::Keep, nullptr, 1.0},
    {"X3MS", ParamAction::Keep, nullptr, 1.0},
    {"LX3MS", ParamAction::Keep, nullptr, 1.0},
    {"WX3MS", ParamAction::Keep, nullptr, 1.0},
    {"X3U1", ParamAction::Keep, nullptr, 1.0},
    {"LX3U1", ParamAction::Keep, nullptr, 1.0},
    {"WX3U1", ParamAction::Keep, nullptr, 1.0},
    {"XPART", ParamAction::Keep, nullptr, 1.0},
}};

constexpr auto kMosfetLevel4Rules = WithCommonMosfetRules(kLevel4OwnRules);
static_assert(kMosfetLevel4Rules.size() == 96);

}  // namespace

ParamRuleTable MosfetLevel4Rules() { return kMosfetLevel4Rules; }

}  // namespace zav
