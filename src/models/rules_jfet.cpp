// Parameter translation rules for junction FET models (NJF, PJF).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

constexpr ParamRule kJfetRules[] = {
    {"AF", ParamAction::Keep, nullptr},
    {"ALPHA", ParamAction::NotSupported, nullptr},
    {"BETA", ParamAction::Keep, nullptr},
    {"BETATCE", ParamAction::NotSupported, nullptr},
    {"CGD", ParamAction::Keep, nullptr},
    {"CGS", ParamAction::Keep, nullptr},
    {"FC", ParamAction::Keep, nullptr},
    {"IS", ParamAction::Keep, nullptr},
    {"ISR", ParamAction::NotSupported, nullptr},
    {"KF", ParamAction::Keep, nullptr},
    {"LAMBDA", ParamAction::Keep, nullptr},
    {"M", ParamAction::NotSupported, nullptr},
    {"N", ParamAction::NotSupported, nullptr},
    {"NR", ParamAction::NotSupported, nullptr},
    {"PB", ParamAction::Keep, nullptr},
    {"RD", ParamAction::Keep, nullptr},
    {"RS", ParamAction::Keep, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
    {"VK", ParamAction::NotSupported, nullptr},
    {"VTO", ParamAction::Keep, nullptr},
    {"VTOTC", ParamAction::NotSupported, nullptr},
    {"XTI", ParamAction::NotSupported, nullptr},
};
static_assert(std::size(kJfetRules) == 25);

}  // namespace

ParamRuleTable JfetRules() { return kJfetRules; }

}  // namespace zav
