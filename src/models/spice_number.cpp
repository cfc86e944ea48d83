#include "models/spice_number.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/ascii.h"

namespace zav {
namespace {

struct ScaleFactor {
  std::string_view suffix;
  double factor;
};

// Longest first where one suffix begins another: "MEG" and "MIL" before "M".
constexpr ScaleFactor kScaleFactors[] = {
    {"MEG", 1e6},
    {"MIL", 25.4e-6},
    {"T", 1e12},
    {"G", 1e9},
    {"K", 1e3},
    {"M", 1e-3},
    {"U", 1e-6},
    {"N", 1e-9},
    {"P", 1e-12},
    {"F", 1e-15},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

std::optional<double> ParseSpiceNumber(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  // An "E" is an exponent only with digits after it.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && IsDigit(text[j])) {
      while (j < text.size() && IsDigit(text[j])) ++j;
      i = j;
    }
  }
  // strtod needs a terminated copy; the mantissa is short.
  const std::string mantissa(text.substr(0, i));
  double value = std::strtod(mantissa.c_str(), nullptr);

  const std::string_view rest = text.substr(i);
  for (char c : rest) {
    if (!IsLetter(c)) return std::nullopt;
  }
  for (const ScaleFactor& scale : kScaleFactors) {
    if (StartsWithNoCase(rest, scale.suffix)) {
      value *= scale.factor;
      break;
    }
  }
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatSpiceNumber(double value) {
  // No negative zero: (0 - 0) / 2 is written "0".
  if (value == 0) return "0";
  // As printf's "%.15g" writes it, at a fraction of its cost: an ngspice
  // translation writes two numbers for every switch model.
  char text[32];
  const std::to_chars_result written = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 15);
  return std::string(text, written.ptr);
}

}  // namespace zav
