#include "session/line_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#include "platform/ascii.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__GNUC__) && defined(__x86_64__)
#define ZAV_LINE_FEEDS_AVX2 1
#include <immintrin.h>
#endif

namespace zav {
namespace {

// Each function below marks the line feeds of `blocks` whole blocks of 64
// bytes from `text` in `bits`, a word a block, the first byte's bit the
// lowest, returns how many there are, and sets `others` when the blocks
// hold a byte the reader's rules change: a carriage return, an end-of-file
// mark or a NUL.
#if !defined(__SSE2__)
std::size_t MarkInBytes(const char* text, std::size_t blocks, std::uint64_t* bits, bool& others) {
  std::size_t count = 0;
  bool seen = false;
  for (std::size_t block = 0; block < blocks; ++block, text += 64) {
    std::uint64_t word = 0;
    for (unsigned i = 0; i < 64; ++i) {
      word |= std::uint64_t{text[i] == '\n'} << i;
      seen = seen || text[i] == '\r' || text[i] == '\x1A' || text[i] == '\0';
    }
    bits[block] = word;
    count += static_cast<std::size_t>(std::popcount(word));
  }
  others = others || seen;
  return count;
}
#else
std::size_t MarkInSse2(const char* text, std::size_t blocks, std::uint64_t* bits, bool& others) {
  const __m128i lineFeed = _mm_set1_epi8('\n');
  const __m128i carriageReturn = _mm_set1_epi8('\r');
  const __m128i endOfFile = _mm_set1_epi8('\x1A');
  const __m128i nul = _mm_setzero_si128();
  __m128i seen = _mm_setzero_si128();
  std::size_t count = 0;
  for (std::size_t block = 0; block < blocks; ++block, text += 64) {
    std::uint64_t word = 0;
    for (unsigned i = 0; i < 4; ++i) {
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * i));
      word |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed)))} << (16 * i);
      seen = _mm_or_si128(seen, _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, carriageReturn),
                                                          _mm_cmpeq_epi8(bytes, endOfFile)),
                                             _mm_cmpeq_epi8(bytes, nul)));
    }
    bits[block] = word;
    count += static_cast<std::size_t>(std::popcount(word));
  }
  others = others || _mm_movemask_epi8(seen) != 0;
  return count;
}
#endif

#if defined(ZAV_LINE_FEEDS_AVX2)
// Chosen when the text is marked: a build for every x86-64 processor may
// not use AVX2 anywhere else.
[[gnu::target("avx2,popcnt")]] std::size_t MarkInAvx2(const char* text, std::size_t blocks, std::uint64_t* bits,
                                                       bool& others) {
  const __m256i lineFeed = _mm256_set1_epi8('\n');
  const __m256i carriageReturn = _mm256_set1_epi8('\r');
  const __m256i endOfFile = _mm256_set1_epi8('\x1A');
  const __m256i nul = _mm256_setzero_si256();
  __m256i seen = _mm256_setzero_si256();
  std::size_t count = 0;
  for (std::size_t block = 0; block < blocks; ++block, text += 64) {
    const __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text));
    const __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + 32));
    const auto lowBits = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, lineFeed)));
    const auto highBits = static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, lineFeed)));
    const std::uint64_t word = std::uint64_t{lowBits} | std::uint64_t{highBits} << 32;
    bits[block] = word;
    count += static_cast<std::size_t>(std::popcount(word));
    for (const __m256i bytes : {low, high}) {
      seen = _mm256_or_si256(seen, _mm256_or_si256(_mm256_or_si256(_mm256_cmpeq_epi8(bytes, carriageReturn),
                                                                   _mm256_cmpeq_epi8(bytes, endOfFile)),
                                                  _mm256_cmpeq_epi8(bytes, nul)));
    }
  }
  others = others || !_mm256_testz_si256(seen, seen);
  return count;
}
#endif

}  // namespace

LineReader::LineReader(std::FILE* file, std::size_t blockSize) {
  Load(file, blockSize == 0 ? 1 : blockSize);
  // Most files hold no end-of-file mark, no carriage return and no NUL: the
  // pass that marks the line feeds tells whether the text holds any, and
  // only then is the text cut, joined and cleaned, and marked again.
  if (!MarkLineFeeds()) return;
  if (const void* mark = std::memchr(text_.data(), kEndOfFileMark, size_)) {
    StopAtMark(static_cast<std::size_t>(static_cast<const char*>(mark) - text_.data()));
  }
  JoinLineEnds();
  ReplaceNuls();
  MarkLineFeeds();
}

bool LineReader::MarkLineFeeds() {
  lineFeedBlocks_ = (size_ + kBlock - 1) / kBlock;
  lineFeedCount_ = 0;
  lineFeeds_ = 0;
  if (lineFeedBlocks_ == 0) return false;
  lineFeedBits_ = LargeBuffer(lineFeedBlocks_ * sizeof(std::uint64_t));
  auto* bits = reinterpret_cast<std::uint64_t*>(lineFeedBits_.data());
  auto mark = [] {
#if defined(ZAV_LINE_FEEDS_AVX2)
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt")) return &MarkInAvx2;
#endif
#if defined(__SSE2__)
    return &MarkInSse2;
#else
    return &MarkInBytes;
#endif
  }();
  const std::size_t whole = size_ / kBlock;
  bool others = false;
  lineFeedCount_ = mark(text_.data(), whole, bits, others);
  if (whole < lineFeedBlocks_) {
    // The last block, short: marked in a copy, so that nothing past the
    // text is read. What the copy adds is neither a line feed nor a byte
    // to change: filler.
    char last[kBlock];
    std::memset(last, ' ', kBlock);
    std::memcpy(last, text_.data() + whole * kBlock, size_ - whole * kBlock);
    lineFeedCount_ += mark(last, 1, bits + whole, others);
  }
  lineFeeds_ = bits[0];
  return others;
}

void LineReader::Load(std::FILE* file, std::size_t blockSize) {
  // A regular file is read into a buffer of its size; anything else (a pipe,
  // a device) into one that grows as it fills.
  std::size_t capacity = blockSize;
  if (std::fseek(file, 0, SEEK_END) == 0) {
    const long end = std::ftell(file);
    if (end >= 0 && std::fseek(file, 0, SEEK_SET) == 0) capacity = static_cast<std::size_t>(end) + 1;
  }
  text_ = LargeBuffer(capacity);
  for (;;) {
    if (size_ == capacity) {
      // The file was longer than it said, or its size is unknown.
      const std::size_t larger = capacity + std::max(capacity, blockSize);
      LargeBuffer grown(larger);
      std::memcpy(grown.data(), text_.data(), size_);
      text_ = std::move(grown);
      capacity = larger;
    }
    const std::size_t want = std::min(blockSize, capacity - size_);
    const std::size_t got = std::fread(text_.data() + size_, 1, want, file);
    size_ += got;
    if (got < want) break;
  }
  failed_ = std::ferror(file) != 0;
}

void LineReader::StopAtMark(std::size_t markAt) {
  stoppedAtMark_ = true;
  bytesAfterMark_ = size_ - markAt - 1;
  for (std::size_t i = markAt + 1; i < size_; ++i) {
    if (!IsAsciiSpace(text_.data()[i]) && text_.data()[i] != kEndOfFileMark) {
      textAfterMark_ = true;
      break;
    }
  }
  size_ = markAt;
}

void LineReader::JoinLineEnds() {
  char* const begin = text_.data();
  const char* read = static_cast<const char*>(std::memchr(begin, '\r', size_));
  if (read == nullptr) return;
  char* write = const_cast<char*>(read);
  const char* const end = begin + size_;
  while (read < end) {
    const char* cr = static_cast<const char*>(std::memchr(read, '\r', static_cast<std::size_t>(end - read)));
    const char* runEnd = cr != nullptr ? cr : end;
    const auto run = static_cast<std::size_t>(runEnd - read);
    if (write != read) std::memmove(write, read, run);
    write += run;
    read = runEnd;
    if (cr == nullptr) break;
    // The CR itself: dropped when a LF follows, kept otherwise.
    if (cr + 1 < end && cr[1] == '\n') {
      ++read;
    } else {
      *write++ = '\r';
      ++read;
    }
  }
  size_ = static_cast<std::size_t>(write - begin);
}

void LineReader::ReplaceNuls() {
  char* const begin = text_.data();
  char* nul = static_cast<char*>(std::memchr(begin, '\0', size_));
  if (nul == nullptr) return;
  firstNulAt_ = static_cast<std::size_t>(nul - begin);
  while (nul != nullptr) {
    *nul = ' ';
    nul = static_cast<char*>(std::memchr(nul + 1, '\0', static_cast<std::size_t>(begin + size_ - (nul + 1))));
  }
}

void LineReader::WatchFor(char c) {
  watched_ = c;
  nextWatched_ = FindWatched(pos_);
}

std::size_t LineReader::FindWatched(std::size_t from) const {
  if (from >= size_) return kNone;
  const void* at = std::memchr(text_.data() + from, watched_, size_ - from);
  return at != nullptr ? static_cast<std::size_t>(static_cast<const char*>(at) - text_.data()) : kNone;
}

std::size_t LineReader::PiecesAtMost() const {
  // Every line may end in a piece without a line feed, and every 511
  // characters may start one more.
  return lineFeedCount_ + 1 + size_ / kMaxPiece;
}

bool LineReader::Next(std::string& piece) {
  std::string_view view;
  if (!Next(view)) return false;
  piece.assign(view.data(), view.size());
  return true;
}

}  // namespace zav
