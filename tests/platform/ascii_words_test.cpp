// The word-at-a-time case folding and hash: whatever the bytes, a name's
// word must say what the byte-by-byte comparison says.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ascii.h"
#include "platform/ascii_words.h"
#include "platform/no_case_hash.h"

namespace zav {
namespace {

using ascii_words::LoadShort;
using ascii_words::UpperCaseWord;

TEST(AsciiWords, UpperCasesEveryByteAsAsciiToUpperDoes) {
  // Every byte value at every place, between neighbours that would carry or
  // borrow into it if the folding leaked across bytes.
  for (int place = 0; place < 8; ++place) {
    for (int value = 0; value < 256; ++value) {
      for (const std::uint64_t around : {0ull, 0xFFFFFFFFFFFFFFFFull, 0x7A7A7A7A7A7A7A7Aull, 0x6161616161616161ull}) {
        const std::uint64_t word = (around & ~(0xFFull << (8 * place))) | (static_cast<std::uint64_t>(value) << (8 * place));
        const std::uint64_t upper = UpperCaseWord(word);
        for (int at = 0; at < 8; ++at) {
          const char byte = static_cast<char>((word >> (8 * at)) & 0xFF);
          EXPECT_EQ(static_cast<char>((upper >> (8 * at)) & 0xFF), AsciiToUpper(byte)) << place << " " << value;
        }
      }
    }
  }
}

TEST(AsciiWords, WordsOfNamesAgreeWithTheComparisonAndTheHash) {
  // Two names of one length that differ in one place, by every pair of
  // bytes there: their upper-cased words are equal exactly when the names
  // are equal without regard to case, and equal names hash alike. The pairs
  // include those that differ in bit 5 alone and are no letters ('[' and
  // '{', '@' and '`') and bytes above 0x7F.
  const std::string base = "Mj_0kZ9q";
  for (std::size_t size = 1; size <= base.size(); ++size) {
    for (std::size_t place = 0; place < size; ++place) {
      std::string a = base.substr(0, size);
      std::string b = a;
      for (int x = 0; x < 256; ++x) {
        for (int y = 0; y < 256; ++y) {
          a[place] = static_cast<char>(x);
          b[place] = static_cast<char>(y);
          const bool equal = EqualsNoCase(a, b);
          ASSERT_EQ(UpperCaseWord(LoadShort(a.data(), size)) == UpperCaseWord(LoadShort(b.data(), size)), equal)
              << size << " " << place << " " << x << " " << y;
          if (equal) {
            ASSERT_EQ(NoCaseHashOf(a), NoCaseHashOf(b));
          }
        }
      }
    }
  }
}

TEST(AsciiWords, HashesLongNamesAlikeInAnyCase) {
  // Past eight bytes the hash reads whole words, the last one short.
  const std::string names[] = {"", "Q2N2222A_SPICE", "ABCDEFGHIJKLMNOPQRSTUVWXYZ", "a[b]c{d}e@f`g_h\x7F"};
  for (const std::string& name : names) {
    std::string other = name;
    for (char& c : other) c = IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : AsciiToUpper(c);
    EXPECT_EQ(NoCaseHashOf(name), NoCaseHashOf(other)) << name;
  }
}

TEST(AsciiWords, HashSpreadsNamesThatDifferAtTheirEndOverAnIndex) {
  // Generated libraries number their models ("Q0000" to "Q9999", "D1234AB"):
  // an index takes a hash's low bits, and if the last bytes did not reach
  // them, such names would share a few slots and every probe would walk a
  // long run. Ten thousand names in 2^15 slots, bucket by bucket, fill
  // nearly as many buckets as names (a uniform hash: about 86 percent).
  for (const std::string& suffix : {std::string(), std::string("AB")}) {
    std::vector<bool> taken(1u << 15, false);
    int buckets = 0;
    for (int number = 0; number < 10000; ++number) {
      std::string name = "Q0000" + suffix;
      for (std::size_t at = 4, rest = static_cast<std::size_t>(number); at >= 1; --at, rest /= 10) {
        name[at] = static_cast<char>('0' + rest % 10);
      }
      const std::uint32_t slot = static_cast<std::uint32_t>(NoCaseHashOf(name)) & ((1u << 15) - 1);
      if (!taken[slot]) ++buckets;
      taken[slot] = true;
    }
    EXPECT_GT(buckets, 8000) << suffix;
  }
}

}  // namespace
}  // namespace zav
