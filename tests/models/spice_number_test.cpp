#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <random>
#include <string_view>
#include <vector>

#include "models/spice_number.h"

namespace zav {
namespace {

TEST(SpiceNumber, ReadsScaleFactorsAndIgnoresUnits) {
  struct Case {
    std::string_view text;
    double value;
  };
  const Case cases[] = {
      {"1", 1},          {"01.0", 1},       {"-1.0", -1},     {"+.5", 0.5},
      {"700e-3", 0.7},   {"1.0E8", 1e8},    {"1MEG", 1e6},    {"1meg", 1e6},
      {"10k", 1e4},      {"100mA", 0.1},    {"2.5V", 2.5},    {"3mil", 76.2e-6},
      {"2u", 2e-6},      {"5n", 5e-9},      {"7p", 7e-12},    {"3F", 3e-15},
      {"2G", 2e9},       {"1T", 1e12},      {"1e", 1},        {"1e-3x", 1e-3},
      {"4MEGohm", 4e6},  {"2Ohm", 2},
  };
  for (const Case& c : cases) {
    const std::optional<double> value = ParseSpiceNumber(c.text);
    ASSERT_TRUE(value.has_value()) << c.text;
    EXPECT_DOUBLE_EQ(*value, c.value) << c.text;
  }
}

TEST(SpiceNumber, RejectsWhatIsNoNumber) {
  for (std::string_view text : {"", "-", ".", "e3", "{VTH}", "{1}", "abc", "1.5.2", "1+2", "1e5/2", "1e999"}) {
    EXPECT_FALSE(ParseSpiceNumber(text).has_value()) << text;
  }
}

TEST(SpiceNumber, WritesTheShortestTextThatReadsBack) {
  EXPECT_EQ(FormatSpiceNumber(0.5), "0.5");
  EXPECT_EQ(FormatSpiceNumber(3.875), "3.875");
  EXPECT_EQ(FormatSpiceNumber((0.1 + 0.2) / 2), "0.15");
  EXPECT_EQ(FormatSpiceNumber(5e-4), "0.0005");
  EXPECT_EQ(FormatSpiceNumber(1e-6), "1e-06");
  EXPECT_EQ(FormatSpiceNumber(1e12), "1000000000000");
  EXPECT_EQ(FormatSpiceNumber(1e16), "1e+16");
  EXPECT_EQ(FormatSpiceNumber(-0.0), "0");
  EXPECT_EQ(FormatSpiceNumber(-2.25), "-2.25");
}

TEST(SpiceNumber, WritesAsPrintfWithFifteenDigits) {
  // Values of every magnitude, from bit patterns spread over the whole
  // range, and the sums and halves a switch's points give.
  std::mt19937_64 random(7);
  std::vector<double> values = {1e-300, 4.9e-324, 1.7976931348623157e308, 1e15, 999999999999999.0, 1e-5, 1e-4,
                                0.1, 123456789012345678.0, 2.5e-9};
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t bits = random();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    if (std::isfinite(value)) values.push_back(value);
    values.push_back(static_cast<double>(static_cast<std::int32_t>(bits)) / 1000.0);
  }
  // Short decimals of every magnitude, as the translation works them out:
  // up to fifteen digits, halves and sums of them.
  for (int i = 0; i < 20000; ++i) {
    const std::uint64_t digits = random() % 1000000000000000ull;
    const int exponent = static_cast<int>(random() % 61) - 30;
    const double value = static_cast<double>(digits >> (random() % 50)) * std::pow(10.0, exponent);
    values.push_back(value);
    values.push_back(value / 2);
    values.push_back(value + 0.1);
  }
  for (const double value : {1e14, 123456789012345.0, 1e15, 1e-4, 1.5e-4, 1e-5, 100000.0, 1e300, 0.000123456789012345}) {
    values.push_back(value);
  }
  for (const double value : values) {
    for (const double each : {value, -value}) {
      if (each == 0) continue;
      char expected[40];
      std::snprintf(expected, sizeof expected, "%.15g", each);
      ASSERT_EQ(FormatSpiceNumber(each), expected) << each;
    }
  }
}

}  // namespace
}  // namespace zav
