#include "cards/text_arena.h"

#include <utility>

namespace zav {

TextArena::TextArena(TextArena&& other) noexcept
    : nextChunk_(other.nextChunk_), maxChunk_(other.maxChunk_) {
  *this = std::move(other);
}

TextArena& TextArena::operator=(TextArena&& other) noexcept {
  if (this == &other) return *this;
  chunks_ = std::move(other.chunks_);
  other.chunks_.clear();
  current_ = std::exchange(other.current_, 0);
  chunkBegin_ = std::exchange(other.chunkBegin_, nullptr);
  first_ = std::exchange(other.first_, nullptr);
  firstEnd_ = std::exchange(other.firstEnd_, nullptr);
  next_ = std::exchange(other.next_, nullptr);
  end_ = std::exchange(other.end_, nullptr);
  nextChunk_ = other.nextChunk_;
  maxChunk_ = other.maxChunk_;
  return *this;
}

char* TextArena::AllocateInNextChunk(std::size_t size) {
  // The next chunk kept from before a Clear, when it is large enough; else a
  // new one.
  std::size_t at = next_ == nullptr ? 0 : current_ + 1;
  while (at < chunks_.size() && chunks_[at].size < size) ++at;
  if (at >= chunks_.size()) {
    const std::size_t chunkSize = size > nextChunk_ ? size : nextChunk_;
    chunks_.push_back(Chunk{std::make_unique_for_overwrite<char[]>(chunkSize), chunkSize});
    at = chunks_.size() - 1;
    if (at == 0) {
      first_ = chunks_[0].data.get();
      firstEnd_ = first_ + chunkSize;
    }
    if (nextChunk_ < maxChunk_) nextChunk_ *= 2;
  }
  current_ = at;
  chunkBegin_ = chunks_[at].data.get();
  next_ = chunkBegin_;
  end_ = next_ + chunks_[at].size;
  char* room = next_;
  next_ += size;
  return room;
}

}  // namespace zav
