#include "session/line_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/ascii.h"

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
  if (const void* mark = std::memchr(block_.data(), kEndOfFileMark, end_)) {
    StopAtMark(static_cast<std::size_t>(static_cast<const char*>(mark) - block_.data()));
  }
  ReplaceNuls();
  return end_ != 0;
}

void LineReader::StopAtMark(std::size_t markAt) {
  stoppedAtMark_ = true;
  done_ = true;
  CountAfterMark(block_.data() + markAt + 1, end_ - markAt - 1);
  end_ = markAt;
  // The rest of the file is only counted; the block still holds the text
  // before the mark, so the count reads into a buffer of its own.
  char rest[4096];
  for (;;) {
    const std::size_t got = std::fread(rest, 1, sizeof rest, file_);
    if (got == 0) break;
    CountAfterMark(rest, got);
  }
  failed_ = std::ferror(file_) != 0;
}

void LineReader::CountAfterMark(const char* bytes, std::size_t size) {
  bytesAfterMark_ += size;
  if (textAfterMark_) return;
  for (std::size_t i = 0; i < size; ++i) {
    if (!IsAsciiSpace(bytes[i]) && bytes[i] != kEndOfFileMark) {
      textAfterMark_ = true;
      return;
    }
  }
}

void LineReader::ReplaceNuls() {
  char* const begin = block_.data();
  char* nul = static_cast<char*>(std::memchr(begin, '\0', end_));
  if (nul == nullptr) return;
  if (!sawNul_) {
    sawNul_ = true;
    firstNulAt_ = static_cast<std::size_t>(nul - begin);
  }
  while (nul != nullptr) {
    *nul = ' ';
    nul = static_cast<char*>(std::memchr(nul + 1, '\0', static_cast<std::size_t>(begin + end_ - (nul + 1))));
  }
}

void LineReader::Take(std::string& piece, std::size_t size) {
  if (firstNulAt_ != kNone && firstNulAt_ < pos_ + size) {
    pieceHeldFirstNul_ = true;
    firstNulAt_ = kNone;
  }
  piece.append(block_.data() + pos_, size);
  pos_ += size;
}

bool LineReader::Next(std::string& piece) {
  piece.clear();
  pieceHeldFirstNul_ = false;
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
      Take(piece, static_cast<std::size_t>(cr - start));
      ++pos_;  // the CR itself
      if (pos_ == end_) {
        pendingCr_ = true;  // decided by the first byte of the next block
      } else if (block_[pos_] != '\n') {
        piece.push_back('\r');
        if (piece.size() == kMaxPiece) return true;
      }
      continue;
    }
    if (lf != nullptr) {
      Take(piece, scan + 1);
      return true;
    }
    Take(piece, span);
    if (piece.size() == kMaxPiece) return true;
  }
}

}  // namespace zav
