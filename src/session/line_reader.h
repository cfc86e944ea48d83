#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace zav {

// Splits an open file into the pieces the session numbers as lines: each
// piece runs through its line feed, or stops after 511 characters when the
// physical line is longer. The file is read in large blocks, once.
//
// Model files come from a platform whose text mode turns CR LF into LF, so a
// carriage return directly before a line feed is dropped here, on every
// platform, before the 511 characters are counted. Every other byte, a lone CR,
// 0x1A and NUL included, is passed on as it is.
class LineReader {
 public:
  static constexpr std::size_t kMaxPiece = 511;
  static constexpr std::size_t kDefaultBlock = 1 << 16;

  explicit LineReader(std::FILE* file, std::size_t blockSize = kDefaultBlock);

  // Replaces `piece` with the next piece; false when there is none left,
  // at the end of the file or after a read error.
  bool Next(std::string& piece);
  bool failed() const { return failed_; }

 private:
  bool Fill();

  std::FILE* file_;
  std::vector<char> block_;
  std::size_t pos_ = 0;
  std::size_t end_ = 0;
  bool pendingCr_ = false;  // a CR ended the last block; is a LF next?
  bool done_ = false;
  bool failed_ = false;
};

}  // namespace zav
