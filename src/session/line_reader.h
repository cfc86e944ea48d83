#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform/byte_search.h"
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
  bool failed() const { return failed_; }

  // An upper bound of the number of pieces still to come.
  std::size_t PiecesLeftAtMost() const;

  // Whether the file holds a NUL (now a space) before the end of the text.
  bool sawNul() const { return firstNulAt_ != kNone; }
  // Whether the piece last returned holds the first NUL of the file. Asked
  // for, not noted for each piece: most files have no NUL at all.
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

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  LargeBuffer text_;
  std::size_t size_ = 0;
  std::size_t pos_ = 0;
  std::size_t pieceStart_ = 0;  // of the piece last returned (none: pos_)
  std::size_t firstNulAt_ = kNone;
  char watched_ = 0;
  // The first watched character at or after pos_, or kNone (also before
  // WatchFor).
  std::size_t nextWatched_ = kNone;
  bool failed_ = false;
  bool stoppedAtMark_ = false;
  bool textAfterMark_ = false;
  std::uint64_t bytesAfterMark_ = 0;
};

// Inline, with the search they call: they run once a line of the file.
inline bool LineReader::Next(std::string_view& piece) {
  if (pos_ >= size_) {
    pieceStart_ = pos_;
    return false;
  }
  const char* start = text_.data() + pos_;
  const char* end = start + std::min(kMaxPiece, size_ - pos_);
  const char* lf = FindByte(start, end, '\n');
  const auto length = static_cast<std::size_t>(lf != end ? lf + 1 - start : end - start);
  piece = std::string_view(start, length);
  pieceStart_ = pos_;
  pos_ += length;
  return true;
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
