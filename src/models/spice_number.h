#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zav {

// A number as the dialect writes one: a decimal with an optional exponent,
// then an optional scale factor (T, G, MEG, K, MIL, M, U, N, P, F, in any
// case) and letters that only name a unit ("3.7V", "1MEG", "100mA"). None for
// any other text, a "{...}" expression among them.
std::optional<double> ParseSpiceNumber(std::string_view text);

// The shortest text of at most 15 significant digits that reads as `value`
// again ("0.5", "3.875", "1e-06"), for values a translation works out.
std::string FormatSpiceNumber(double value);

}  // namespace zav
