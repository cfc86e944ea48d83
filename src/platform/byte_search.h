// Searching a text for a byte, eight bytes at a time: the line reader looks
// at every byte of a file, and most model-file lines are shorter than the
// start-up cost of a library search per line. Plain C++ (no processor
// intrinsics), so that every platform gets the same code.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zav {

namespace byte_search {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

inline std::uint64_t Load(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// A mask with the high bit of each byte of `word` that equals `c` set (and
// no other bit): exact, with no false hits from carries.
inline std::uint64_t Matches(std::uint64_t word, char c) {
  const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
  return ~(((x & ~kHighs) + ~kHighs) | x | ~kHighs);
}

// The position of the lowest set high bit, counted in bytes from the start of
// the word as it sits in memory (little-endian on every platform the library
// is built for).
inline std::size_t FirstByte(std::uint64_t mask) { return static_cast<std::size_t>(std::countr_zero(mask)) / 8; }

}  // namespace byte_search

// The first `c` in [begin, end), or end.
inline const char* FindByte(const char* begin, const char* end, char c) {
  using namespace byte_search;
  const char* at = begin;
  for (; end - at >= 8; at += 8) {
    if (const std::uint64_t mask = Matches(Load(at), c)) return at + FirstByte(mask);
  }
  for (; at < end; ++at) {
    if (*at == c) return at;
  }
  return end;
}

// The number of `c` in [begin, end).
inline std::size_t CountByte(const char* begin, const char* end, char c) {
  using namespace byte_search;
  std::size_t count = 0;
  const char* at = begin;
  for (; end - at >= 8; at += 8) {
    // One bit per matching byte, at its top: moved to the bottom and summed
    // into the highest byte by a multiplication (at most 8, no carry).
    count += static_cast<std::size_t>(((Matches(Load(at), c) >> 7) * kOnes) >> 56);
  }
  for (; at < end; ++at) count += *at == c ? 1 : 0;
  return count;
}

}  // namespace zav
