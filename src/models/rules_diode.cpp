// Parameter translation rules for diode models (D).
#include <iterator>

#include "models/param_rule.h"

namespace zav {
namespace {

constexpr ParamRule kDiodeRules[] = {
    {"AF", ParamAction::Keep, nullptr},
    {"BV", ParamAction::Keep, nullptr},
    {"CJO", ParamAction::Keep, nullptr},
    {"EG", ParamAction::Keep, nullptr},
    {"FC", ParamAction::Keep, nullptr},
    {"IBVL", ParamAction::NotSupported, nullptr},
    {"IBV", ParamAction::Keep, nullptr},
    {"IKF", ParamAction::Keep, nullptr},
    {"IS", ParamAction::Keep, nullptr},
    {"ISR", ParamAction::Keep, nullptr},
    {"KF", ParamAction::Keep, nullptr},
    {"M", ParamAction::Keep, nullptr},
    {"N", ParamAction::Keep, nullptr},
    {"NBV", ParamAction::NotSupported, nullptr},
    {"NBVL", ParamAction::NotSupported, nullptr},
    {"NR", ParamAction::Keep, nullptr},
    {"RS", ParamAction::Keep, nullptr},
    {"TBV1", ParamAction::Rename, "TBV"},
    {"TBV2", ParamAction::Keep, nullptr},
    {"TIKF", ParamAction::Keep, nullptr},
    {"TRS1", ParamAction::Rename, "TRS"},
    {"TRS2", ParamAction::Keep, nullptr},
    {"TT", ParamAction::Keep, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
    {"VJ", ParamAction::Keep, nullptr},
    {"XTI", ParamAction::Keep, nullptr},
};
static_assert(std::size(kDiodeRules) == 29);

}  // namespace

ParamRuleTable DiodeRules() { return kDiodeRules; }

}  // namespace zav
