#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace zav {
namespace line_feed_detail {

// Whether some byte of `word` is a line feed: the bytes of `x` are zero
// exactly where `word` holds one, and `(x - ones) & ~x & highs` is the
// usual test for a zero byte (it is nonzero exactly when `x` has one).
template <typename Word>
bool WordHoldsLineFeed(Word word) {
  constexpr Word kOnes = static_cast<Word>(~Word{0}) / 0xFF;
  const Word x = word ^ static_cast<Word>(kOnes * '\n');
  return ((x - kOnes) & ~x & static_cast<Word>(kOnes * 0x80)) != 0;
}

// Whether one of `size` characters at `text` is a line feed, `size` being at
// least one word and at most two: the first and the last word, which may
// overlap, cover them all.
template <typename Word>
bool EndsHoldLineFeed(const char* text, std::size_t size) {
  Word head;
  Word tail;
  std::memcpy(&head, text, sizeof head);
  std::memcpy(&tail, text + size - sizeof tail, sizeof tail);
  return WordHoldsLineFeed(head) || WordHoldsLineFeed(tail);
}

}  // namespace line_feed_detail

// Whether `text` holds a line feed. An edit asks this of each token it walks
// over, most of them a few characters (a blank, a name), for which a call of
// memchr, or a look at each character, costs more than a look at a word or
// two. Always inlined: a call costs as much as the look.
[[gnu::always_inline]] inline bool ContainsLineFeed(std::string_view text) {
  const std::size_t size = text.size();
  if (size > 16) return text.find('\n') != std::string_view::npos;
  if (size >= 8) return line_feed_detail::EndsHoldLineFeed<std::uint64_t>(text.data(), size);
  if (size >= 4) return line_feed_detail::EndsHoldLineFeed<std::uint32_t>(text.data(), size);
  // The first, the middle and the last are all of up to three.
  return size > 0 && (text[0] == '\n' || text[size / 2] == '\n' || text[size - 1] == '\n');
}

}  // namespace zav
