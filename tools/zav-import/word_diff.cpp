#include "word_diff.h"

#include <algorithm>
#include <cstdint>

namespace zav::cli {
namespace {

// The largest table of the word-by-word comparison: two lines of 256 words
// that differ from end to end. The cost of a row stays bounded whatever the
// input, so a report takes time in proportion to the file.
constexpr std::size_t kMaxCells = 1 << 16;

enum class WordClass { Word, Blank, Other };

WordClass ClassOf(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if ((byte >= '0' && byte <= '9') || (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || byte == '_' ||
      byte == '.' || byte >= 0x80) {
    return WordClass::Word;
  }
  if (byte == ' ' || byte == '\t') return WordClass::Blank;
  return WordClass::Other;
}

std::vector<std::string_view> SplitWords(std::string_view text) {
  std::vector<std::string_view> words;
  std::size_t at = 0;
  while (at < text.size()) {
    const WordClass kind = ClassOf(text[at]);
    std::size_t end = at + 1;
    if (kind != WordClass::Other) {
      while (end < text.size() && ClassOf(text[end]) == kind) ++end;
    }
    words.push_back(text.substr(at, end - at));
    at = end;
  }
  return words;
}

std::size_t Offset(std::string_view text, std::string_view word) {
  return static_cast<std::size_t>(word.data() - text.data());
}

// Marks `word` (a view into `text`) in `ranges`, joined to the range before
// it when the two touch.
void Mark(std::vector<ByteRange>& ranges, std::string_view text, std::string_view word) {
  const std::size_t begin = Offset(text, word);
  const std::size_t end = begin + word.size();
  if (!ranges.empty() && ranges.back().end == begin) {
    ranges.back().end = end;
  } else {
    ranges.push_back({begin, end});
  }
}

}  // namespace

WordDiff DiffWords(std::string_view before, std::string_view after) {
  WordDiff diff;
  const std::vector<std::string_view> a = SplitWords(before);
  const std::vector<std::string_view> b = SplitWords(after);
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head && a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) ++tail;
  const std::size_t n = a.size() - head - tail;
  const std::size_t m = b.size() - head - tail;

  if (n == 0 || m == 0 || n * m > kMaxCells || n + 1 > UINT16_MAX || m + 1 > UINT16_MAX) {
    for (std::size_t i = 0; i < n; ++i) Mark(diff.removed, before, a[head + i]);
    for (std::size_t j = 0; j < m; ++j) Mark(diff.added, after, b[head + j]);
    return diff;
  }

  // common[i][j]: the longest common subsequence of a[head+i..] and
  // b[head+j..], in words.
  const std::size_t width = m + 1;
  std::vector<std::uint16_t> common((n + 1) * width, 0);
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      common[i * width + j] = a[head + i] == b[head + j]
                                  ? static_cast<std::uint16_t>(common[(i + 1) * width + j + 1] + 1)
                                  : std::max(common[(i + 1) * width + j], common[i * width + j + 1]);
    }
  }
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < n && j < m) {
    if (a[head + i] == b[head + j]) {
      ++i;
      ++j;
    } else if (common[(i + 1) * width + j] >= common[i * width + j + 1]) {
      Mark(diff.removed, before, a[head + i++]);
    } else {
      Mark(diff.added, after, b[head + j++]);
    }
  }
  for (; i < n; ++i) Mark(diff.removed, before, a[head + i]);
  for (; j < m; ++j) Mark(diff.added, after, b[head + j]);
  return diff;
}

}  // namespace zav::cli
