#pragma once

// The rows that the MOSFET tables of levels 1 to 4 begin with. "L" and "W"
// move to the transistors under their own names; "LEVEL" stays (level 7 has a
// table of its own).
#include <array>
#include <cstddef>

#include "models/param_rule.h"

namespace zav {

inline constexpr auto kCommonMosfetRules = std::to_array<ParamRule>({
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
    {"JSSW", ParamAction::Keep, nullptr},
    {"KF", ParamAction::Keep, nullptr},
    {"L", ParamAction::MoveToInstance, "L"},
    {"LEVEL", ParamAction::Keep, nullptr},
    {"MJ", ParamAction::Keep, nullptr},
    {"MJSW", ParamAction::Keep, nullptr},
    {"N", ParamAction::NotSupported, nullptr},
    {"NLEV", ParamAction::NotSupported, nullptr},
    {"PB", ParamAction::Keep, nullptr},
    {"PBSW", ParamAction::Keep, nullptr},
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
inline constexpr std::size_t kCommonMosfetRuleCount = kCommonMosfetRules.size();

// A table made of `common`'s rows, then `own`'s.
template <std::size_t C, std::size_t N>
constexpr std::array<ParamRule, C + N> ConcatenatedRules(const std::array<ParamRule, C>& common,
                                                         const std::array<ParamRule, N>& own) {
  std::array<ParamRule, C + N> table{};
  for (std::size_t i = 0; i < C; ++i) table[i] = common[i];
  for (std::size_t i = 0; i < N; ++i) table[C + i] = own[i];
  return table;
}

// A level's table: the common rows, then the level's own rows.
template <std::size_t N>
constexpr std::array<ParamRule, kCommonMosfetRuleCount + N> WithCommonMosfetRules(
    const std::array<ParamRule, N>& own) {
  return ConcatenatedRules(kCommonMosfetRules, own);
}

}  // namespace zav
