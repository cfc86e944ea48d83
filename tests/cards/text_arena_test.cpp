// The arena a token list keeps the texts of its edits in.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "cards/text_arena.h"

namespace zav {
namespace {

TEST(TextArena, KeepsEveryLengthWholeAndApart) {
  // Texts up to 64 characters are copied as blocks, words, halves or single
  // characters that overlap; each must come out whole, and no copy may spill into its
  // neighbours, across chunks too.
  TextArena arena(8, 64);
  std::string source;
  for (int i = 0; i < 80; ++i) source.push_back(static_cast<char>('A' + i % 50));
  std::vector<std::pair<std::string_view, std::string>> kept;
  for (int round = 0; round < 3; ++round) {
    for (std::size_t length = 0; length <= 72; ++length) {
      const std::string text = source.substr(length % 7, length);
      kept.emplace_back(arena.Keep(text), text);
    }
    for (const auto& [view, text] : kept) EXPECT_EQ(view, text) << text.size();
    arena.Clear();  // the chunks are filled again from the first
    kept.clear();
  }
  EXPECT_EQ(arena.Keep("").data(), nullptr);
}

TEST(TextArena, AClearFillsTheFirstChunkAgainAndTellsOnlyWhatItHoldsNow) {
  TextArena arena(16, 64);
  const std::string_view first = arena.Keep("0123456789");
  EXPECT_TRUE(arena.HoldsRecent(first.data(), first.size()));
  EXPECT_TRUE(arena.HoldsRecent(first.data() + 2, 3));
  // Past what was given, or beginning outside the chunk.
  EXPECT_FALSE(arena.HoldsRecent(first.data(), first.size() + 1));
  const std::string outside = "0123456789";
  EXPECT_FALSE(arena.HoldsRecent(outside.data(), outside.size()));
  EXPECT_FALSE(arena.HoldsRecent(nullptr, 0));
  // A text too long for the rest of the chunk starts the next: the first
  // chunk's texts are no longer recent, though they stay where they are.
  const std::string_view second = arena.Keep(std::string(40, 'x'));
  EXPECT_TRUE(arena.HoldsRecent(second.data(), second.size()));
  EXPECT_FALSE(arena.HoldsRecent(first.data(), first.size()));
  EXPECT_EQ(first, "0123456789");

  arena.Clear();
  EXPECT_FALSE(arena.HoldsRecent(second.data(), second.size()));
  // The first chunk again, from its start, and the next when it is full.
  EXPECT_EQ(arena.Keep("abc").data(), first.data());
  EXPECT_EQ(arena.Keep(std::string(40, 'y')).data(), second.data());
  EXPECT_EQ(arena.Keep(std::string(40, 'z')), std::string(40, 'z'));

  TextArena empty;
  empty.Clear();
  EXPECT_FALSE(empty.HoldsRecent("a", 1));
  EXPECT_EQ(empty.Keep("abc"), "abc");
}

}  // namespace
}  // namespace zav
