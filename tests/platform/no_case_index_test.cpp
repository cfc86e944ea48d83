// The name index the rules, the models of an import and the scopes of a
// definition are looked up in: letter case ignored, the first entry of a
// name wins, and nothing is lost when it grows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/no_case_index.h"

namespace zav {
namespace {

TEST(NoCaseIndex, FindsANameInAnyCaseAndKeepsTheFirstEntry) {
  NoCaseIndex<int> index;
  EXPECT_EQ(index.Find("IS"), nullptr);  // empty: nothing to probe
  EXPECT_EQ(index.Add("Is", 1), 1);
  EXPECT_EQ(index.Add("iS", 2), 1);  // already there: the first value stays
  EXPECT_EQ(index.Add("ISR", 3), 3);
  EXPECT_EQ(index.size(), 2u);
  struct Row {
    const char* name;
    int expected;  // 0: not found
  };
  const Row rows[] = {{"IS", 1}, {"is", 1}, {"Isr", 3}, {"I", 0}, {"ISRR", 0}, {"", 0}, {"I S", 0}};
  for (const Row& row : rows) {
    const int* found = index.Find(row.name);
    if (row.expected == 0) {
      EXPECT_EQ(found, nullptr) << row.name;
    } else {
      ASSERT_NE(found, nullptr) << row.name;
      EXPECT_EQ(*found, row.expected) << row.name;
    }
  }
}

TEST(NoCaseIndex, KeepsEveryEntryAsItGrowsAndAfterAClear) {
  // The names are views: they must outlive the index.
  std::vector<std::string> names;
  for (int i = 0; i < 5000; ++i) names.push_back("Q" + std::to_string(i) + (i % 2 ? "a" : "B"));
  NoCaseIndex<int> index;
  for (int round = 0; round < 2; ++round) {
    if (round == 1) index.Reserve(names.size());
    for (int i = 0; i < static_cast<int>(names.size()); ++i) index.Add(names[static_cast<std::size_t>(i)], i);
    ASSERT_EQ(index.size(), names.size());
    for (int i = 0; i < static_cast<int>(names.size()); ++i) {
      std::string upper = names[static_cast<std::size_t>(i)];
      for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
      const int* found = index.Find(upper);
      ASSERT_NE(found, nullptr) << upper;
      EXPECT_EQ(*found, i);
    }
    EXPECT_EQ(index.Find("Q5000a"), nullptr);
    index.Clear();
    EXPECT_EQ(index.size(), 0u);
    EXPECT_EQ(index.Find(names.front()), nullptr);
  }
}

TEST(NoCaseIndex, TellsApartNamesThatDifferOnlyBeyondAscii) {
  // Only ASCII letters have a case: bytes above 0x7F compare exactly.
  NoCaseIndex<int> index;
  const std::string upper = "R\xC3\x84";  // two UTF-8 bytes
  const std::string lower = "r\xC3\xA4";
  index.Add(upper, 1);
  index.Add(lower, 2);
  EXPECT_EQ(index.size(), 2u);
  EXPECT_EQ(*index.Find("r\xC3\x84"), 1);
  EXPECT_EQ(*index.Find("R\xC3\xA4"), 2);
}

}  // namespace
}  // namespace zav
