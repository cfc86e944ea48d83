// The arena a token list keeps the texts of its edits in.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "cards/text_arena.h"

namespace zav {
namespace {

TEST(TextArena, KeepsEveryLengthWholeAndApart) {
  // Short texts are copied as words, halves or single characters that
  // overlap; each must come out whole, and no copy may spill into its
  // neighbours, across chunks too.
  TextArena arena(8, 64);
  std::string source;
  for (int i = 0; i < 80; ++i) source.push_back(static_cast<char>('A' + i % 50));
  std::vector<std::pair<std::string_view, std::string>> kept;
  for (int round = 0; round < 3; ++round) {
    for (std::size_t length = 0; length <= 40; ++length) {
      const std::string text = source.substr(length % 7, length);
      kept.emplace_back(arena.Keep(text), text);
    }
    for (const auto& [view, text] : kept) EXPECT_EQ(view, text) << text.size();
    arena.Clear();  // the chunks are filled again from the first
    kept.clear();
  }
  EXPECT_EQ(arena.Keep("").data(), nullptr);
}

}  // namespace
}  // namespace zav
