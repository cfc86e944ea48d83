// Eight bytes of a name at a time: the loads, and the case folding, of the
// lookups that take a name a word at a time instead of byte by byte (the
// case-insensitive hash, the index of a rule table). Names are short: a
// name of up to eight bytes is one word.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zav {
namespace ascii_words {

constexpr std::uint64_t kEveryByte = 0x0101010101010101ull;

inline std::uint64_t Load64(const char* at) {
  std::uint64_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

inline std::uint64_t Load32(const char* at) {
  std::uint32_t word;
  std::memcpy(&word, at, sizeof word);
  return word;
}

inline std::uint64_t Byte(char c) { return static_cast<unsigned char>(c); }

// Every byte of a text of one to eight bytes, in one word, reading nothing
// outside the text: from four bytes on, two four-byte reads that may
// overlap; below, the first, middle and last byte, the rest of the word
// zero. Two texts of one length give words whose bytes stand at the same
// places of the texts, so the words are equal (without regard to case)
// exactly when the texts are.
inline std::uint64_t LoadShort(const char* at, std::size_t size) {
  if (size >= 4) return Load32(at) | (Load32(at + size - 4) << 32);
  return Byte(at[0]) | (Byte(at[size / 2]) << 8) | (Byte(at[size - 1]) << 16);
}

// `word` with every byte that is an ASCII lower-case letter made upper case,
// and every other byte as it is. Each byte is tested without a carry into
// the next: its low seven bits plus at most 0x1F stay below 0x100.
inline std::uint64_t UpperCaseWord(std::uint64_t word) {
  const std::uint64_t low7 = word & (0x7F * kEveryByte);
  const std::uint64_t fromA = low7 + (0x80 - 'a') * kEveryByte;        // bit 7: at least 'a'
  const std::uint64_t beyondZ = low7 + (0x80 - 'z' - 1) * kEveryByte;  // bit 7: beyond 'z'
  // Bit 7 of `word` is the byte's own: no byte above 0x7F is a letter.
  const std::uint64_t lower = fromA & ~beyondZ & ~word & (0x80 * kEveryByte);
  return word ^ (lower >> 2);  // bit 5 tells 'a' from 'A'
}

}  // namespace ascii_words
}  // namespace zav
