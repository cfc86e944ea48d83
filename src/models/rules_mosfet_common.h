#pragma once

// The 34 rows that the MOSFET tables of levels 1 to 4 begin with. "L" and "W"
// move to the transistors under their own names; "LEVEL" stays (level 7 has a
// table of its own).
#include <array>
#include <cstddef>

#include "models/param_rule.h"

namespace zav {

inline constexpr std::array<ParamRule, 34> kCommonMosfetRules = {{
    {"AF", ParamAction::Keep, nullptr, 1.0},
    {"CBD", ParamAction::Keep, nullptr, 1.0},
    {"CBS", ParamAction::Keep, nullptr, 1.0},
    {"CGBO", ParamAction::Keep, nullptr, 1.0},
    {"CGDO", ParamAction::Keep, nullptr, 1.0},
    {"CGSO", ParamAction::Keep, nullptr, 1.0},
    {"CJ", ParamAction::Keep, nullptr, 1.0},
    {"CJSW", ParamAction::Keep, nullptr, 1.0},
    {"FC", ParamAction::Keep, nullptr, 1.0},
    {"GDSNOI", ParamAction::NotSupported, nullptr, 1.0},
    {"IS", ParamAction::Keep, nullptr, 1.0},
    {"JS", ParamAction::Keep, nullptr, 1.0},
    {"JSSW", ParamAction::Keep, nullptr, 1.0},
    {"KF", ParamAction::Keep, nullptr, 1.0},
    {"L", ParamAction::MoveToInstance, "L", 1.0},
    {"LEVEL", ParamAction::Keep, nullptr, 1.0},
    {"MJ", ParamAction::Keep, nullptr, 1.0},
    {"MJSW", ParamAction::Keep, nullptr, 1.0},
    {"N", ParamAction::NotSupported, nullptr, 1.0},
    {"NLEV", ParamAction::NotSupported, nullptr, 1.0},
    {"PB", ParamAction::Keep, nullptr, 1.0},
    {"PBSW", ParamAction::Keep, nullptr, 1.0},
    {"RB", ParamAction::NotSupported, nullptr, 1.0},
    {"RD", ParamAction::Keep, nullptr, 1.0},
    {"RDS", ParamAction::NotSupported, nullptr, 1.0},
    {"RG", ParamAction::NotSupported, nullptr, 1.0},
    {"RS", ParamAction::Keep, nullptr, 1.0},
    {"RSH", ParamAction::Keep, nullptr, 1.0},
    {"TT", ParamAction::NotSupported, nullptr, 1.0},
    {"T_ABS", ParamAction::MoveToInstance, "TEMP", 1.0},
    {"T_MEASURED", ParamAction::Rename, "TNOM", 1.0},
    {"T_REL_GLOBAL", ParamAction::MoveToInstance, "DTEMP", 1.0},
    {"T_REL_LOCAL", ParamAction::NotSupported, nullptr, 1.0},
    {"W", ParamAction::MoveToInstance, "W", 1.0},
}};

// A level's table: the common rows, then the level's own rows.
template <std::size_t N>
constexpr std::array<ParamRule, 34 + N> WithCommonMosfetRules(const std::array<ParamRule, N>& own) {
  std::array<ParamRule, 34 + N> table{};
  for (std::size_t i = 0; i < 34; ++i) table[i] = kCommonMosfetRules[i];
  for (std::size_t i = 0; i < N; ++i) table[34 + i] = own[i];
  return table;
}

}  // namespace zav
