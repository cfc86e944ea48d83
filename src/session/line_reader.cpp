#include "session/line_reader.h"

#include <algorithm>
#include <cstring>

#include "platform/ascii.h"
#include "platform/byte_search.h"

namespace zav {

LineReader::LineReader(std::FILE* file, std::size_t blockSize) {
  Load(file, blockSize == 0 ? 1 : blockSize);
  if (const void* mark = std::memchr(text_.data(), kEndOfFileMark, size_)) {
    StopAtMark(static_cast<std::size_t>(static_cast<const char*>(mark) - text_.data()));
  }
  JoinLineEnds();
  ReplaceNuls();
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

std::size_t LineReader::PiecesLeftAtMost() const {
  const std::size_t lineFeeds = CountByte(text_.data() + pos_, text_.data() + size_, '\n');
  // Every line may end in a piece without a line feed, and every 511
  // characters may start one more.
  return lineFeeds + 1 + (size_ - pos_) / kMaxPiece;
}

bool LineReader::Next(std::string& piece) {
  std::string_view view;
  if (!Next(view)) return false;
  piece.assign(view.data(), view.size());
  return true;
}

}  // namespace zav
