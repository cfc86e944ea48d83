// What differs between a line as read and what it became, word by word: the
// report strikes out the one and marks the other, as a code review does.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace zav::cli {

struct ByteRange {
  std::size_t begin = 0;
  std::size_t end = 0;

  bool operator==(const ByteRange&) const = default;
};

struct WordDiff {
  std::vector<ByteRange> removed;  // in `before`, in order, none touching the next
  std::vector<ByteRange> added;    // in `after`
};

// The words of `before` that `after` lost and the words `after` gained, by a
// longest common subsequence of words. A word is a run of letters, digits,
// '_', '.' and non-ASCII bytes, a run of blanks, a line feed, or any other
// single character. Past a bound on the words between the common start and
// end (256 on each side, or as many in product), the whole middle counts as
// changed: linear in the texts' size beyond it.
WordDiff DiffWords(std::string_view before, std::string_view after);

}  // namespace zav::cli
