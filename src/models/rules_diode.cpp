// Parameter translation rules for diode models (D).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

constexpr ParamRule kDiodeRules[] = {
    {"AF", ParamAction::Keep, nullptr, 1.0},
    {"BV", ParamAction::Keep, nullptr, 1.0},
    {"CJO", ParamAction::Keep, nullptr, 1.0},
    {"EG", ParamAction::Keep, nullptr, 1.0},
    {"FC", ParamAction::Keep, nullptr, 1.0},
    {"IBVL", ParamAction::NotSupported, nullptr, 1.0},
    {"IBV", ParamAction::Keep, nullptr, 1.0},
    {"IKF", ParamAction::Keep, nullptr, 1.0},
    {"IS", ParamAction::Keep, nullptr, 1.0},
    {"ISR", ParamAction::Keep, nullptr, 1.0},
    {"KF", ParamAction::Keep, nullptr, 1.0},
    {"M", ParamAction::Keep, nullptr, 1.0},
    {"N", ParamAction::Keep, nullptr, 1.0},
    {"NBV", ParamAction::NotSupported, nullptr, 1.0},
    {"NBVL", ParamAction::NotSupported, nullptr, 1.0},
    {"NR", ParamAction::Keep, nullptr, 1.0},
    {"RS", ParamAction::Keep, nullptr, 1.0},
    {"TBV1", ParamAction::Rename, "TBV", 1.0},
    {"TBV2", ParamAction::Keep, nullptr, 1.0},
    {"TIKF", ParamAction::Keep, nullptr, 1.0},
    {"TRS1", ParamAction::Rename, "TRS", 1.0},
    {"TRS2", ParamAction::Keep, nullptr, 1.0},
    {"TT", ParamAction::Keep, nullptr, 1.0},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP", 1.0},
    {"T_MEASURED", ParamAction::Rename, "TNOM", 1.0},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP", 1.0},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr, 1.0},
    {"VJ", ParamAction::Keep, nullptr, 1.0},
    {"XTI", ParamAction::Keep, nullptr, 1.0},
};
static_assert(std::size(kDiodeRules) == 29);

}  // namespace

ParamRuleTable DiodeRules() { return kDiodeRules; }

}  // namespace zav
