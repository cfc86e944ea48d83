// FindByte reads vectors of sixteen bytes or words of eight, CountByte rows
// of 32 with a counter per place: every length and alignment, the byte at
// every place, byte values that a careless bit trick confuses (0x80 and
// above, the byte next to the one sought, the sought byte with its high bit
// set), and counters that fill up must give what a plain loop gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/byte_search.h"

namespace zav {
namespace {

const char* PlainFind(const char* begin, const char* end, char c) {
  const void* found = std::memchr(begin, c, static_cast<std::size_t>(end - begin));
  return found != nullptr ? static_cast<const char*>(found) : end;
}

TEST(ByteSearch, AgreesWithAPlainSearchAtEveryLengthOffsetAndPlace) {
  for (const char sought : {'\n', '\0', '\x1A', '\xFF', 'A'}) {
    // Fillers that differ from the sought byte by one bit, or by the high
    // bit, and a byte borrowing would turn into it.
    const std::vector<char> fillers = {static_cast<char>(sought ^ 0x80), static_cast<char>(sought ^ 1),
                                       static_cast<char>(sought + 1), static_cast<char>(sought - 1), ' '};
    for (const char filler : fillers) {
      std::string buffer(48, filler);
      for (std::size_t offset = 0; offset < 8; ++offset) {
        for (std::size_t length = 0; offset + length <= 40; ++length) {
          const char* begin = buffer.data() + offset;
          const char* end = begin + length;
          EXPECT_EQ(FindByte(begin, end, sought), end) << int(sought) << " " << offset << " " << length;
          EXPECT_EQ(CountByte(begin, end, sought), 0u);
          for (std::size_t place = 0; place < length; ++place) {
            buffer[offset + place] = sought;
            EXPECT_EQ(FindByte(begin, end, sought), PlainFind(begin, end, sought));
            EXPECT_EQ(CountByte(begin, end, sought), 1u) << offset << " " << length << " " << place;
            buffer[offset + place] = filler;
          }
        }
      }
    }
  }
}

TEST(ByteSearch, FindsTheFirstOfTwo) {
  // The search may mark bytes past a match as matches too (a byte one above
  // the sought one, after it, is the trap); only the first counts, wherever
  // the two fall among the words and the overlapping last word.
  for (const char filler : {static_cast<char>('\n' ^ 1), ' '}) {
    for (std::size_t length = 2; length <= 40; ++length) {
      std::string text(length, filler);
      for (std::size_t first = 0; first < length; ++first) {
        for (std::size_t second = first + 1; second < length; ++second) {
          text[first] = '\n';
          text[second] = '\n';
          EXPECT_EQ(FindByte(text.data(), text.data() + length, '\n'), text.data() + first) << length << " " << first;
          EXPECT_EQ(FindByte(text.data() + first + 1, text.data() + length, '\n'), text.data() + second);
          text[first] = filler;
          text[second] = filler;
        }
      }
    }
  }
}

// The vector search and the word search (the one platforms without SSE2
// use) give the same answers, HoldsByte tells whether they find one, and
// none reads a byte past the text: each
// text is a block of its exact size, which a sanitized build checks.
TEST(ByteSearch, VectorsAndWordsAgreeAndStayInsideTheText) {
  for (const char sought : {'\n', '\xFF'}) {
    for (std::size_t length = 0; length <= 70; ++length) {
      const std::unique_ptr<char[]> text(new char[length]);
      const char* end = text.get() + length;
      std::fill(text.get(), text.get() + length, static_cast<char>(sought ^ 0x80));
      EXPECT_EQ(FindByte(text.get(), end, sought), end);
      EXPECT_EQ(FindByteInWords(text.get(), end, sought), end);
      EXPECT_FALSE(HoldsByte(text.get(), end, sought)) << length;
      for (std::size_t place = 0; place < length; ++place) {
        text[place] = sought;
        for (std::size_t from = 0; from <= length; from += 5) {
          const char* expected = PlainFind(text.get() + from, end, sought);
          EXPECT_EQ(FindByte(text.get() + from, end, sought), expected) << length << " " << place << " " << from;
          EXPECT_EQ(FindByteInWords(text.get() + from, end, sought), expected) << length << " " << place;
          // HoldsByte tests two vectors a step: the byte in either, or in
          // the last vectors, which overlap the steps before.
          EXPECT_EQ(HoldsByte(text.get() + from, end, sought), expected != end) << length << " " << place << " " << from;
        }
        text[place] = static_cast<char>(sought ^ 0x80);
      }
    }
  }
}

TEST(ByteSearch, CountsEveryOccurrenceInAFullWord) {
  // Eight in one word: the sum of a word's matches must not carry over.
  const std::string text = std::string(8, '\n') + "ab\n" + std::string(16, '\n') + "\n";
  EXPECT_EQ(CountByte(text.data(), text.data() + text.size(), '\n'),
            static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));
  EXPECT_EQ(FindByte(text.data() + 8, text.data() + text.size(), '\n'), text.data() + 10);
}

TEST(ByteSearch, CountsPastWhatAnEightBitCounterHolds) {
  // Every byte sought, over more rows than a counter can count (255), and
  // lengths that end inside a row.
  for (const std::size_t length : {std::size_t{32 * 255}, std::size_t{32 * 256}, std::size_t{32 * 600 + 31}}) {
    std::string text(length, '\n');
    EXPECT_EQ(CountByte(text.data(), text.data() + text.size(), '\n'), length);
    text[length / 2] = 'x';
    text[length - 1] = 'x';
    EXPECT_EQ(CountByte(text.data(), text.data() + text.size(), '\n'), length - 2);
  }
}

}  // namespace
}  // namespace zav
