// Searching a text for a byte, sixteen bytes at a time: the line reader looks
// at every byte of a file, and most model-file lines are shorter than the
// start-up cost of a library search per line. In plain C++, words of eight
// bytes; where the compiler targets SSE2 (every x86-64 build), one vector
// compare per sixteen bytes, which gives the same answers.
#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
// Counting a byte over a whole file takes AVX2 where the processor has it,
// chosen when the count is made: a build for every x86-64 processor may not
// use it anywhere else.
#if defined(__GNUC__) && defined(__x86_64__)
#define ZAV_COUNT_BYTE_AVX2 1
#include <immintrin.h>
#endif

namespace zav {

namespace byte_search {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

inline std::uint64_t Load(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

// A mask whose lowest set bit is the high bit of the first byte of `word`
// that equals `c`, if any. Bytes above that one may be marked too (the
// subtraction borrows across it), bytes below it never: enough for finding
// the first, in four operations.
inline std::uint64_t FirstMatch(std::uint64_t word, char c) {
  const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
  return (x - kOnes) & ~x & kHighs;
}

// The position of the lowest set high bit, counted in bytes from the start of
// the word as it sits in memory (little-endian on every platform the library
// is built for).
inline std::size_t FirstByte(std::uint64_t mask) { return static_cast<std::size_t>(std::countr_zero(mask)) / 8; }

}  // namespace byte_search

// The first `c` in [begin, end), or end, in plain C++. Sixteen bytes a
// step; the last bytes of a text of eight or more are read as its last word,
// which overlaps bytes already searched (they hold no `c`, so the first hit
// is past them).
inline const char* FindByteInWords(const char* begin, const char* end, char c) {
  using namespace byte_search;
  const char* at = begin;
  for (; end - at >= 16; at += 16) {
    const std::uint64_t low = FirstMatch(Load(at), c);
    const std::uint64_t high = FirstMatch(Load(at + 8), c);
    if ((low | high) != 0) return low != 0 ? at + FirstByte(low) : at + 8 + FirstByte(high);
  }
  if (end - begin >= 8) {
    if (end - at > 8) {
      if (const std::uint64_t mask = FirstMatch(Load(at), c)) return at + FirstByte(mask);
    }
    if (at == end) return end;
    const char* last = end - 8;
    const std::uint64_t mask = FirstMatch(Load(last), c);
    return mask != 0 ? last + FirstByte(mask) : end;
  }
  for (; at < end; ++at) {
    if (*at == c) return at;
  }
  return end;
}

// The first `c` in [begin, end), or end: as FindByteInWords, a vector of
// sixteen bytes a step where there is SSE2, the last sixteen bytes of a text
// of sixteen or more read as one overlapping vector.
inline const char* FindByte(const char* begin, const char* end, char c) {
#if defined(__SSE2__)
  if (end - begin >= 16) {
    const __m128i sought = _mm_set1_epi8(c);
    const auto matches = [sought](const char* at) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
      return static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, sought)));
    };
    const char* at = begin;
    for (; end - at > 16; at += 16) {
      if (const unsigned mask = matches(at)) return at + std::countr_zero(mask);
    }
    const char* last = end - 16;
    const unsigned mask = matches(last);
    return mask != 0 ? last + std::countr_zero(mask) : end;
  }
#endif
  return FindByteInWords(begin, end, c);
}

// Whether [begin, end) holds `c`: FindByte without the place, for texts
// that mostly hold none, thirty-two bytes a step where there is SSE2 (two
// vectors' matches joined into one test), the last bytes read as vectors
// that end where the text ends.
inline bool HoldsByte(const char* begin, const char* end, char c) {
#if defined(__SSE2__)
  if (end - begin >= 16) {
    const __m128i sought = _mm_set1_epi8(c);
    const auto matches = [sought](const char* at) {
      return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), sought);
    };
    const char* at = begin;
    for (; end - at > 32; at += 32) {
      if (_mm_movemask_epi8(_mm_or_si128(matches(at), matches(at + 16))) != 0) return true;
    }
    if (end - at > 16 && _mm_movemask_epi8(matches(at)) != 0) return true;
    return _mm_movemask_epi8(matches(end - 16)) != 0;
  }
#endif
  return FindByteInWords(begin, end, c) != end;
}

namespace byte_search {

#if defined(ZAV_COUNT_BYTE_AVX2)
// CountByte's rows as one AVX2 vector each: a match is -1 in its place,
// subtracted from that place's 8-bit counter; at the end of a block the
// counters are summed by eight. Moves `at` past the rows counted.
[[gnu::target("avx2")]] inline std::size_t CountRowsAvx2(const char*& at, const char* end, char c) {
  constexpr std::size_t kRow = 32;
  constexpr std::size_t kMostRows = 255;
  const __m256i sought = _mm256_set1_epi8(c);
  std::size_t count = 0;
  while (static_cast<std::size_t>(end - at) >= kRow) {
    const std::size_t rows = std::min(static_cast<std::size_t>(end - at) / kRow, kMostRows);
    __m256i counters = _mm256_setzero_si256();
    // Two rows a step, half the loop's own instructions.
    std::size_t row = 0;
    for (; row + 2 <= rows; row += 2, at += 2 * kRow) {
      const __m256i first = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
      const __m256i second = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + kRow));
      counters = _mm256_sub_epi8(counters, _mm256_cmpeq_epi8(first, sought));
      counters = _mm256_sub_epi8(counters, _mm256_cmpeq_epi8(second, sought));
    }
    if (row < rows) {
      const __m256i last = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
      counters = _mm256_sub_epi8(counters, _mm256_cmpeq_epi8(last, sought));
      at += kRow;
    }
    const __m256i sums = _mm256_sad_epu8(counters, _mm256_setzero_si256());
    count += static_cast<std::size_t>(_mm256_extract_epi64(sums, 0)) + static_cast<std::size_t>(_mm256_extract_epi64(sums, 1)) +
             static_cast<std::size_t>(_mm256_extract_epi64(sums, 2)) + static_cast<std::size_t>(_mm256_extract_epi64(sums, 3));
  }
  return count;
}
#endif

}  // namespace byte_search

// The number of `c` in [begin, end). Counted in rows of 32 bytes, with an
// 8-bit counter for each place in a row, which compilers turn into vector
// compares (ten times the speed of a word at a time); a block is at most 255
// rows, so that no counter overflows.
inline std::size_t CountByte(const char* begin, const char* end, char c) {
  constexpr std::size_t kRow = 32;
  constexpr std::size_t kMostRows = 255;
  std::size_t count = 0;
  const char* at = begin;
#if defined(ZAV_COUNT_BYTE_AVX2)
  if (__builtin_cpu_supports("avx2")) count = byte_search::CountRowsAvx2(at, end, c);
#endif
  while (static_cast<std::size_t>(end - at) >= kRow) {
    const std::size_t rows = std::min(static_cast<std::size_t>(end - at) / kRow, kMostRows);
    unsigned char counters[kRow] = {};
    for (std::size_t row = 0; row < rows; ++row, at += kRow) {
      for (std::size_t i = 0; i < kRow; ++i) counters[i] = static_cast<unsigned char>(counters[i] + (at[i] == c ? 1 : 0));
    }
    for (const unsigned char n : counters) count += n;
  }
  for (; at < end; ++at) count += *at == c ? 1 : 0;
  return count;
}

}  // namespace zav
