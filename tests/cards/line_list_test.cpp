// A card's lines are a run of the import's line records as long as what is
// added borders the run, and an array of its own once it does not: either
// way the list must read as the plain list of pointers it stands for. Random
// sequences of every operation, checked against a vector after each step.
#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

#include "cards/line_list.h"
#include "text/source_line.h"

namespace zav {
namespace {

std::vector<SourceLine*> Read(const LineList& list) {
  std::vector<SourceLine*> lines(list.begin(), list.end());
  EXPECT_EQ(lines.size(), list.size());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(list[i], lines[i]);
  std::vector<SourceLine*> backwards(list.rbegin(), list.rend());
  EXPECT_EQ(std::vector<SourceLine*>(backwards.rbegin(), backwards.rend()), lines);
  return lines;
}

TEST(LineList, ReadsAsThePlainListItStandsFor) {
  std::vector<SourceLine> records(64);
  std::mt19937 random(5);
  auto pick = [&](std::size_t bound) { return static_cast<std::size_t>(random() % bound); };
  for (int round = 0; round < 300; ++round) {
    LineList list;
    std::vector<SourceLine*> expected;
    // Start as classification does: a run of records, often.
    if (pick(2) == 0) {
      const std::size_t first = 8 + pick(40);
      const std::size_t count = pick(8);
      list.Borrow(&records[first], count);
      for (std::size_t i = 0; i < count; ++i) expected.push_back(&records[first + i]);
    }
    for (int step = 0; step < 12; ++step) {
      // Neighbouring runs half the time, so that both ways are taken.
      const bool border = pick(2) == 0 && !expected.empty();
      const std::size_t count = 1 + pick(3);
      LineList other;
      std::size_t first = pick(records.size() - count);
      const int operation = static_cast<int>(pick(6));
      if (border && operation == 0 && expected.front() >= &records[count]) {
        first = static_cast<std::size_t>(expected.front() - records.data()) - count;
      } else if (border && operation == 1 && expected.back() + count < records.data() + records.size()) {
        first = static_cast<std::size_t>(expected.back() - records.data()) + 1;
      }
      other.Borrow(&records[first], count);
      std::vector<SourceLine*> added;
      for (std::size_t i = 0; i < count; ++i) added.push_back(&records[first + i]);
      switch (operation) {
        case 0:
          list.Prepend(other);
          expected.insert(expected.begin(), added.begin(), added.end());
          break;
        case 1:
          list.Append(other);
          expected.insert(expected.end(), added.begin(), added.end());
          break;
        case 2:
          list.Prepend(std::span<SourceLine* const>(added));
          expected.insert(expected.begin(), added.begin(), added.end());
          break;
        case 3:
          list.Append(std::span<SourceLine* const>(added));
          expected.insert(expected.end(), added.begin(), added.end());
          break;
        case 4:
          list.push_back(added.front());
          expected.push_back(added.front());
          break;
        case 5: {
          LineList moved(std::move(list));
          EXPECT_TRUE(list.empty());
          list = std::move(moved);
          break;
        }
      }
      ASSERT_EQ(Read(list), expected) << "round " << round << " step " << step << " operation " << operation;
    }
    list.clear();
    EXPECT_TRUE(list.empty());
    list.push_back(&records[3]);
    EXPECT_EQ(Read(list), std::vector<SourceLine*>{&records[3]});
  }
}

}  // namespace
}  // namespace zav
