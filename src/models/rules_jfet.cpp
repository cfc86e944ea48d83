// Parameter translation rules for junction FET models (NJF, PJF).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

constexpr ParamRule kJfetRules[] = {
    {"AF", ParamAction::Keep, nullptr, 1.0},
    {"ALPHA", ParamAction::NotSupported, nullptr, 1.0},
    {"BETA", ParamAction::Keep, nullptr, 1.0},
    {"BETATCE", ParamAction::NotSupported, nullptr, 1.0},
    {"CGD", ParamAction::Keep, nullptr, 1.0},
    {"CGS", ParamAction::Keep, nullptr, 1.0},
    {"FC", ParamAction::Keep, nullptr, 1.0},
    {"IS", ParamAction::Keep, nullptr, 1.0},
    {"ISR", ParamAction::NotSupported, nullptr, 1.0},
    {"KF", ParamAction::Keep, nullptr, 1.0},
    {"LAMBDA", ParamAction::Keep, nullptr, 1.0},
    {"M", ParamAction::NotSupported, nullptr, 1.0},
    {"N", ParamAction::NotSupported, nullptr, 1.0},
    {"NR", ParamAction::NotSupported, nullptr, 1.0},
    {"PB", ParamAction::Keep, nullptr, 1.0},
    {"RD", ParamAction::Keep, nullptr, 1.0},
    {"RS", ParamAction::Keep, nullptr, 1.0},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP", 1.0},
    {"T_MEASURED", ParamAction::Rename, "TNOM", 1.0},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP", 1.0},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr, 1.0},
    {"VK", ParamAction::NotSupported, nullptr, 1.0},
    {"VTO", ParamAction::Keep, nullptr, 1.0},
    {"VTOTC", ParamAction::NotSupported, nullptr, 1.0},
    {"XTI", ParamAction::NotSupported, nullptr, 1.0},
};
static_assert(std::size(kJfetRules) == 25);

}  // namespace

ParamRuleTable JfetRules() { return kJfetRules; }

}  // namespace zav
