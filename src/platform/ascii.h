// ASCII character classes and case-insensitive comparison.
//
// Model files are 8-bit text of no declared encoding. Every classification and
// every case-insensitive comparison in the library is plain ASCII: bytes above
// 127 belong to no class and only compare equal to themselves. Nothing here
// consults the C locale.
#pragma once

#include <cstddef>
#include <string_view>

namespace zav {

constexpr bool IsAsciiSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
constexpr bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
constexpr bool IsAsciiUpper(char c) { return c >= 'A' && c <= 'Z'; }
constexpr bool IsAsciiLower(char c) { return c >= 'a' && c <= 'z'; }
constexpr bool IsAsciiAlpha(char c) { return IsAsciiUpper(c) || IsAsciiLower(c); }
constexpr char AsciiToUpper(char c) { return IsAsciiLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }

// Three-way comparison without regard to ASCII letter case, like _stricmp.
int CompareNoCase(std::string_view a, std::string_view b);

// Equality of `size` characters at `a` and `b` without regard to ASCII
// letter case. Inline: every lookup by name ends in it. Two bytes that
// differ are still equal when they differ in bit 5 alone and are letters.
inline bool EqualCharsNoCase(const char* a, const char* b, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) {
    if (a[i] != b[i] && ((a[i] ^ b[i]) != 0x20 || !IsAsciiAlpha(a[i]))) return false;
  }
  return true;
}

// Whole-text equality without regard to ASCII letter case. The lengths are
// compared inline: most names looked up differ in length from most they meet.
inline bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && EqualCharsNoCase(a.data(), b.data(), a.size());
}

// True when `text` begins with `prefix`, letter case ignored (like _strnicmp
// over the prefix's length).
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualCharsNoCase(text.data(), prefix.data(), prefix.size());
}

// The leading decimal integer of a text, as atoi reads it: optional blanks, an
// optional sign, digits; 0 when there are none. Saturates instead of
// overflowing.
int AsciiToInt(std::string_view text);

}  // namespace zav
