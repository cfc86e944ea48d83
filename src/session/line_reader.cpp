#include "session/line_reader.h"

#include <algorithm>
#include <cstring>

namespace zav {

LineReader::LineReader(std::FILE* file, std::size_t blockSize)
    : file_(file), block_(blockSize == 0 ? 1 : blockSize) {}

bool LineReader::Fill() {
  pos_ = 0;
  end_ = 0;
  if (done_) return false;
  end_ = std::fread(block_.data(), 1, block_.size(), file_);
  if (end_ == 0) {
    done_ = true;
    failed_ = std::ferror(file_) != 0;
    return false;
  }
  return true;
}

bool LineReader::Next(std::string& piece) {
  piece.clear();
  for (;;) {
    if (pos_ == end_ && !Fill()) {
      if (pendingCr_) {
        pendingCr_ = false;
        piece.push_back('\r');
      }
      return !piece.empty();
    }
    if (pendingCr_) {
      pendingCr_ = false;
      if (block_[pos_] != '\n') {
        piece.push_back('\r');
        if (piece.size() == kMaxPiece) return true;
      }
    }

    const char* start = block_.data() + pos_;
    const std::size_t span = std::min(kMaxPiece - piece.size(), end_ - pos_);
    const char* lf = static_cast<const char*>(std::memchr(start, '\n', span));
    const std::size_t scan = lf != nullptr ? static_cast<std::size_t>(lf - start) : span;
    const char* cr = static_cast<const char*>(std::memchr(start, '\r', scan));

    if (cr != nullptr) {
      const std::size_t before = static_cast<std::size_t>(cr - start);
      piece.append(start, before);
      pos_ += before + 1;
      if (pos_ == end_) {
        pendingCr_ = true;  // decided by the first byte of the next block
      } else if (block_[pos_] != '\n') {
        piece.push_back('\r');
        if (piece.size() == kMaxPiece) return true;
      }
      continue;
    }
    if (lf != nullptr) {
      piece.append(start, scan + 1);
      pos_ += scan + 1;
      return true;
    }
    piece.append(start, span);
    pos_ += span;
    if (piece.size() == kMaxPiece) return true;
  }
}

}  // namespace zav
