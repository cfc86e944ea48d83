#pragma once

// The rows that ngspice's MOSFET tables of levels 1 to 3 begin with, row for
// row against the host's common rows (ngspice's levels 1, 2 and 3 take the
// same junction, capacitance and noise parameters).
#include <array>
#include <cstddef>

#include "models/rules_mosfet_common.h"

namespace zav {

inline constexpr auto kNgspiceCommonMosfetRules = std::to_array<ParamRule>({
    {"AF", ParamAction::Keep, nullptr},
    {"CBD", ParamAction::Keep, nullptr},
    {"CBS", ParamAction::Keep, nullptr},
    {"CGBO", ParamAction::Keep, nullptr},
    {"CGDO", ParamAction::Keep, nullptr},
    {"CGSO", ParamAction::Keep, nullptr},
    {"CJ", ParamAction::Keep, nullptr},
    {"CJSW", ParamAction::Keep, nullptr},
    {"FC", ParamAction::Keep, nullptr},
    {"GDSNOI", ParamAction::NotSupported, nullptr},
    {"IS", ParamAction::Keep, nullptr},
    {"JS", ParamAction::Keep, nullptr},
    {"JSSW", ParamAction::NotSupported, nullptr},
    {"KF", ParamAction::Keep, nullptr},
    {"L", ParamAction::MoveToInstance, "L"},
    {"LEVEL", ParamAction::Keep, nullptr},
    {"MJ", ParamAction::Keep, nullptr},
    {"MJSW", ParamAction::Keep, nullptr},
    {"N", ParamAction::NotSupported, nullptr},
    {"NLEV", ParamAction::NotSupported, nullptr},
    {"PB", ParamAction::Keep, nullptr},
    {"PBSW", ParamAction::NotSupported, nullptr},
    {"RB", ParamAction::NotSupported, nullptr},
    {"RD", ParamAction::Keep, nullptr},
    {"RDS", ParamAction::NotSupported, nullptr},
    {"RG", ParamAction::NotSupported, nullptr},
    {"RS", ParamAction::Keep, nullptr},
    {"RSH", ParamAction::Keep, nullptr},
    {"TT", ParamAction::NotSupported, nullptr},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP"},
    {"T_MEASURED", ParamAction::Rename, "TNOM"},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP"},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr},
    {"W", ParamAction::MoveToInstance, "W"},
});
static_assert(kNgspiceCommonMosfetRules.size() == kCommonMosfetRuleCount);

// A level's table for ngspice: the common rows, then the level's own rows.
template <std::size_t N>
constexpr std::array<ParamRule, kCommonMosfetRuleCount + N> WithNgspiceCommonMosfetRules(
    const std::array<ParamRule, N>& own) {
  return ConcatenatedRules(kNgspiceCommonMosfetRules, own);
}

}  // namespace zav
