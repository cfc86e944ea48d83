#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace zav {

// Splits an open file into the pieces the session numbers as lines: each
// piece runs through its line feed, or stops after 511 characters when the
// physical line is longer. The file is read in large blocks, once.
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
  static constexpr std::size_t kDefaultBlock = 1 << 16;
  static constexpr char kEndOfFileMark = '\x1A';

  explicit LineReader(std::FILE* file, std::size_t blockSize = kDefaultBlock);

  // Replaces `piece` with the next piece; false when there is none left,
  // at the end of the file, at the end-of-file mark or after a read error.
  bool Next(std::string& piece);
  bool failed() const { return failed_; }

  // Whether the piece last returned holds the first NUL of the file (now a
  // space).
  bool pieceHeldFirstNul() const { return pieceHeldFirstNul_; }

  // Once Next has returned false: whether reading stopped at an end-of-file
  // mark, how many bytes followed the mark, and whether any of them is more
  // than filler (blanks, line ends and further marks, as files padded to a
  // whole record have them).
  bool stoppedAtMark() const { return stoppedAtMark_; }
  std::uint64_t bytesAfterMark() const { return bytesAfterMark_; }
  bool textAfterMark() const { return textAfterMark_; }

 private:
  bool Fill();
  // Counts the bytes after the mark at `markAt` of the current block, to the
  // end of the file, and ends the block at the mark.
  void StopAtMark(std::size_t markAt);
  void CountAfterMark(const char* bytes, std::size_t size);
  // Turns every NUL of the current block into a space.
  void ReplaceNuls();
  // Appends the next `size` bytes of the block to `piece`.
  void Take(std::string& piece, std::size_t size);

  static constexpr std::size_t kNone = static_cast<std::size_t>(-1);

  std::FILE* file_;
  std::vector<char> block_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  std::size_t firstNulAt_ = kNone;  // in the block, until it is taken
  bool sawNul_ = false;
  bool pieceHeldFirstNul_ = false;
  bool pendingCr_ = false;  // a CR ended the last block; is a LF next?
  bool done_ = false;
  bool failed_ = false;
  bool stoppedAtMark_ = false;
  bool textAfterMark_ = false;
  std::uint64_t bytesAfterMark_ = 0;
};

}  // namespace zav
