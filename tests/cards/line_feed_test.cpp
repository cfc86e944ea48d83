// The test for a line feed in a token's text, which looks at words, not
// characters, for texts of up to sixteen.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "cards/line_feed.h"

namespace zav {
namespace {

// Every length up to past the word sizes, with a line feed at each place or
// none, between characters that differ from one in a single bit (a carriage
// return, a vertical tab, the line feed with its top bit set): the texts
// stand between line feeds, which a look outside them would find.
TEST(LineFeed, IsFoundAtEachPlaceOfEachLengthAndNowhereElse) {
  for (char filler : {'a', '\r', '\x0b', '\x8a', '\x0e', '\x02'}) {
    for (std::size_t size = 0; size <= 20; ++size) {
      const std::string around = "\n" + std::string(size, filler) + "\n";
      const std::string_view text = std::string_view(around).substr(1, size);
      EXPECT_FALSE(ContainsLineFeed(text)) << size << " " << int(filler);
      for (std::size_t at = 0; at < size; ++at) {
        std::string with = around;
        with[1 + at] = '\n';
        EXPECT_TRUE(ContainsLineFeed(std::string_view(with).substr(1, size))) << size << " at " << at;
      }
    }
  }
}

}  // namespace
}  // namespace zav
