#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/ascii.h"
#include "platform/ascii_words.h"

namespace zav {

// A hash of a name without regard to ASCII letter case: two names that
// EqualsNoCase holds equal hash alike. Inline and a word at a time (see
// ascii_words.h), because a translation hashes every parameter name of
// every model it reads.
//
// Case is folded by setting bit 5 of every byte, which makes 'A' and 'a'
// alike and leaves digits as they are. It also makes a few other pairs
// alike ('[' and '{', '@' and '`', '_' and DEL, and some above 0x7F); the
// comparison that follows every hash tells those apart, they only share a
// bucket. The length goes into the hash, so that the words of two lengths,
// read as LoadShort reads them, are no ambiguity.
inline std::uint64_t NoCaseHashOf(std::string_view text) {
  using namespace ascii_words;
  constexpr std::uint64_t kFold = 0x20 * kEveryByte;
  constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;
  const char* at = text.data();
  std::size_t rest = text.size();
  std::uint64_t hash = (static_cast<std::uint64_t>(rest) + 1) * kMultiplier;
  for (; rest > 8; rest -= 8, at += 8) hash = (hash ^ (Load64(at) | kFold)) * kMultiplier;
  const std::uint64_t last = rest > 0 ? LoadShort(at, rest) : 0;
  hash = (hash ^ (last | kFold)) * kMultiplier;
  // An index takes the low bits, but a product's low bits depend only on the
  // factors' low bits, and bits 32 to 46 of it not on the last two bytes of
  // a word: folded once, names that differ only at their end ("Q9982",
  // "Q9983") would pile up in one run of slots. Folding the high half in,
  // multiplying again and folding again mixes every byte into the low bits.
  hash ^= hash >> 32;
  hash *= kMultiplier;
  return hash ^ (hash >> 32);
}

// Hash and equality of names without regard to ASCII letter case, for the
// lookups by name (models, parameters, rules). Both are transparent: a
// string_view finds a std::string key without a copy.
struct NoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return static_cast<std::size_t>(NoCaseHashOf(text)); }
};

struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
};

template <typename Value>
using NoCaseMap = std::unordered_map<std::string, Value, NoCaseHash, NoCaseEqual>;

using NoCaseSet = std::unordered_set<std::string, NoCaseHash, NoCaseEqual>;

}  // namespace zav
