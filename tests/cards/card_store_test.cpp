// The store an import's cards, kept texts and records come from.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "cards/card_store.h"

namespace zav {
namespace {

TEST(CardStore, GivesAlignedRoomThatNoOtherAllocationOverlaps) {
  CardStore store;
  struct Row {
    std::size_t size;
    std::size_t alignment;
  };
  // Small and large objects, odd sizes before stricter alignments, and
  // objects larger than any block, whose own block's end is no multiple of
  // the next alignment.
  const Row rows[] = {{1, 1}, {24, 8}, {3, 1}, {16, 16}, {200001, 1}, {40, 8}, {7, 1}, {5000000, 1},
                      {8, 8},  {12, 4}, {65537, 1}, {16, 16}, {1, 1}, {96, 8}};
  std::vector<std::pair<std::byte*, std::size_t>> given;
  for (int round = 0; round < 3; ++round) {
    for (const Row& row : rows) {
      auto* at = static_cast<std::byte*>(store.Allocate(row.size, row.alignment));
      EXPECT_EQ(reinterpret_cast<std::uintptr_t>(at) % row.alignment, 0u) << row.size;
      // Written whole: the sanitizers see a write past a block.
      std::memset(at, round + 1, row.size);
      given.emplace_back(at, row.size);
    }
  }
  for (std::size_t i = 0; i < given.size(); ++i) {
    for (std::size_t j = i + 1; j < given.size(); ++j) {
      const bool apart = given[i].first + given[i].second <= given[j].first ||
                         given[j].first + given[j].second <= given[i].first;
      EXPECT_TRUE(apart) << i << " and " << j;
    }
  }
}

TEST(CardStore, KeepsATextByViewOnlyWhereItLastsAsLongAsTheStore) {
  // The lasting text is the first line of the buffer only.
  const std::string buffer = ".MODEL Q1 NPN(BF=100)\n+ IS=1\n";
  const std::size_t firstLine = buffer.find('\n') + 1;
  CardStore store;
  store.SetLastingText(buffer.data(), firstLine);
  struct Row {
    std::size_t at;
    std::size_t size;
    bool viewed;
  };
  const Row rows[] = {
      {7, 2, true},                   // "Q1"
      {0, firstLine, true},           // the whole of it
      {firstLine - 2, 4, false},      // running past its end
      {firstLine + 2, 2, false},      // after it
  };
  for (const Row& row : rows) {
    const std::string_view text(buffer.data() + row.at, row.size);
    const std::string_view kept = store.KeepText(text);
    EXPECT_EQ(kept, text) << row.at;
    EXPECT_EQ(kept.data() == text.data(), row.viewed) << row.at;
  }
  std::string elsewhere = "BF";
  const std::string_view copied = store.KeepText(elsewhere);
  elsewhere = "XX";
  EXPECT_EQ(copied, "BF");
  EXPECT_TRUE(store.KeepText(std::string_view()).empty());

  CardStore without;  // nothing lasts: everything is copied
  const std::string_view name(buffer.data() + 7, 2);
  EXPECT_NE(without.KeepText(name).data(), name.data());
  EXPECT_EQ(without.KeepText(name), "Q1");
}

}  // namespace
}  // namespace zav
