#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "platform/large_block.h"

namespace zav {

// Reads an open file once, into one buffer, and cuts it into the pieces the
// session numbers as lines: each piece runs through its line feed, or stops
// after 511 characters when the physical line is longer. The pieces view the
// buffer; the session takes the buffer over, so that its lines can view it
// for as long as the session lives.
//
// Model files come from a platform whose text mode turns CR LF into LF and
// stops at the byte 0x1A, the old end-of-file mark; both rules are applied
// here, on every platform. A carriage return directly before a line feed is
// dropped before the 511 characters are counted, and nothing from the first
// 0x1A on becomes a piece: what follows the mark is only counted. A NUL byte
// would cut every text handed to a C host short, so each one becomes a
// space. Every other byte, a lone CR included, is passed on as it is.
class LineReader {
 public:
  static constexpr std::size_t kMaxPiece = 511;
  static constexpr std::size_t kDefaultBlock = 1 << 20;
  static constexpr char kEndOfFileMark = '\x1A';

  // Reads the whole file, `blockSize` bytes at a time where its size cannot
  // be told in advance.
  explicit LineReader(std::FILE* file, std::size_t blockSize = kDefaultBlock);

  // The next piece; false when there is none left (at the end of the file,
  // at the end-of-file mark or after a read error). The view stays valid as
  // long as the text (see TakeText).
  bool Next(std::string_view& piece);
  // The same, copied into `piece`.
  bool Next(std::string& piece);
  // Has every later piece also report the first `c` in it (see below).
  void WatchFor(char c);
  // The same as Next(piece), with `watchedAt` the offset of the first
  // watched character in the piece, or npos. The reader keeps the position
  // of the next one in the file and looks for the one after it only when a
  // piece has passed it: the character (an inline comment's) is rare, and
  // one library search from one to the next costs less than a second scan
  // of every line.
  bool Next(std::string_view& piece, std::size_t& watchedAt);
  // Offers the pieces one by one to `take(piece)` for as long as it takes
  // them (returns true), and returns the first it refuses as Next(piece,
  // watchedAt) would; false when no piece is left. A piece with a watched
  // character, one that a line feed does not end, and every piece after
  // the last line feed are not offered but returned. Inline, with the
  // position in locals: nearly every line of a file is taken here.
  template <typename Take>
  bool NextRefused(Take&& take, std::string_view& piece, std::size_t& watchedAt);
  bool failed() const { return failed_; }

  // An upper bound of the number of pieces of the whole text.
  std::size_t PiecesAtMost() const;

  // Whether the file holds a NUL (now a space) before the end of the text.
  bool sawNul() const { return firstNulAt_ != kNone; }
  // Whether the piece last returned (not one taken) holds the first NUL of
  // the file. Asked for, not noted for each piece: most files have no NUL at
  // all.
  // (Unsigned: a first NUL before the piece, or none, gives a difference
  // far past any piece's length.)
  bool pieceHeldFirstNul() const { return firstNulAt_ - pieceStart_ < pos_ - pieceStart_; }

  // Whether reading stopped at an end-of-file mark, how many bytes followed
  // the mark, and whether any of them is more than filler (blanks, line ends
  // and further marks, as files padded to a whole record have them).
  bool stoppedAtMark() const { return stoppedAtMark_; }
  std::uint64_t bytesAfterMark() const { return bytesAfterMark_; }
  bool textAfterMark() const { return textAfterMark_; }

  // Hands the buffer the pieces view over to the caller.
  LargeBuffer TakeText() { return std::move(text_); }

 private:
  void Load(std::FILE* file, std::size_t blockSize);
  // Ends the text at the mark, counting what follows it.
  void StopAtMark(std::size_t markAt);
  // The position of the first watched character at or after `from`, or
  // kNone.
  std::size_t FindWatched(std::size_t from) const;
  // Drops every CR directly before a LF.
  void JoinLineEnds();
  // Turns every NUL into a space, noting where the first one was.
  void ReplaceNuls();
  // Marks the line feeds of the text (see lineFeedBits_), and counts them.
  // True when the text holds a carriage return, an end-of-file mark or a
  // NUL.
  bool MarkLineFeeds();
  // The position of the first line feed at or after pos_ (kNone for none).
  std::size_t NextLineFeed();

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
  // The line feeds are marked for blocks of this many bytes in a word each.
  static constexpr std::size_t kBlock = 64;

  LargeBuffer text_;
  std::size_t size_ = 0;
  std::size_t pos_ = 0;
  std::size_t pieceStart_ = 0;  // of the piece last returned (none: pos_)
  std::size_t firstNulAt_ = kNone;
  char watched_ = 0;
  // A bit for each byte of the text that is a line feed, a word a block of
  // kBlock bytes, marked in one pass over the text before the first piece:
  // a piece's end is then found by a count of trailing zeros, not by a
  // search started at each line. The pieces clear the bits they pass in
  // `lineFeeds_`, the word of block `lineFeedBlock_`.
  LargeBuffer lineFeedBits_;
  std::size_t lineFeedBlocks_ = 0;
  std::size_t lineFeedCount_ = 0;
  std::size_t lineFeedBlock_ = 0;
  std::uint64_t lineFeeds_ = 0;
  // The first watched character at or after pos_, or kNone (also before
  // WatchFor).
  std::size_t nextWatched_ = kNone;
  bool failed_ = false;
  bool stoppedAtMark_ = false;
  bool textAfterMark_ = false;
  std::uint64_t bytesAfterMark_ = 0;
};

// Inline: they run once a line of the file.
inline bool LineReader::Next(std::string_view& piece) {
  if (pos_ >= size_) {
    pieceStart_ = pos_;
    return false;
  }
  const std::size_t lf = NextLineFeed();
  std::size_t length;
  if (lf - pos_ < kMaxPiece) {
    // The piece ends at the line feed, which the next piece is past.
    length = lf + 1 - pos_;
    lineFeeds_ &= lineFeeds_ - 1;
  } else {
    // None within reach (none left, with kNone): the line goes on in
    // another piece, and the line feed found stays ahead.
    length = std::min(kMaxPiece, size_ - pos_);
  }
  piece = std::string_view(text_.data() + pos_, length);
  pieceStart_ = pos_;
  pos_ += length;
  return true;
}

inline std::size_t LineReader::NextLineFeed() {
  while (lineFeeds_ == 0) {
    if (lineFeedBlock_ + 1 >= lineFeedBlocks_) return kNone;  // the last block is done
    ++lineFeedBlock_;
    std::memcpy(&lineFeeds_, lineFeedBits_.data() + lineFeedBlock_ * sizeof lineFeeds_, sizeof lineFeeds_);
  }
  return lineFeedBlock_ * kBlock + static_cast<std::size_t>(std::countr_zero(lineFeeds_));
}

template <typename Take>
bool LineReader::NextRefused(Take&& take, std::string_view& piece, std::size_t& watchedAt) {
  const char* const text = text_.data();
  std::size_t pos = pos_;
  std::uint64_t lineFeeds = lineFeeds_;
  std::size_t block = lineFeedBlock_;
  for (;;) {
    while (lineFeeds == 0) {
      if (block + 1 >= lineFeedBlocks_) goto returned;
      ++block;
      std::memcpy(&lineFeeds, lineFeedBits_.data() + block * sizeof lineFeeds, sizeof lineFeeds);
    }
    const std::size_t end = block * kBlock + static_cast<std::size_t>(std::countr_zero(lineFeeds)) + 1;
    if (end - pos > kMaxPiece || nextWatched_ < end) goto returned;
    lineFeeds &= lineFeeds - 1;
    if (!take(std::string_view(text + pos, end - pos))) {
      pos_ = end;
      lineFeeds_ = lineFeeds;
      lineFeedBlock_ = block;
      pieceStart_ = pos;
      piece = std::string_view(text + pos, end - pos);
      watchedAt = std::string_view::npos;
      return true;
    }
    pos = end;
  }
returned:
  pos_ = pos;
  lineFeeds_ = lineFeeds;
  lineFeedBlock_ = block;
  return Next(piece, watchedAt);
}

inline bool LineReader::Next(std::string_view& piece, std::size_t& watchedAt) {
  const std::size_t from = pos_;
  if (!Next(piece)) return false;
  watchedAt = std::string_view::npos;
  if (nextWatched_ < pos_) {
    watchedAt = nextWatched_ - from;
    nextWatched_ = FindWatched(pos_);
  }
  return true;
}

}  // namespace zav
