#include "cards/text_arena.h"

#include <cstring>
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
  next_ = std::exchange(other.next_, nullptr);
  end_ = std::exchange(other.end_, nullptr);
  nextChunk_ = other.nextChunk_;
  maxChunk_ = other.maxChunk_;
  return *this;
}

std::string_view TextArena::Keep(std::string_view text) {
  if (text.empty()) return std::string_view();
  if (static_cast<std::size_t>(end_ - next_) < text.size()) {
    const std::size_t size = text.size() > nextChunk_ ? text.size() : nextChunk_;
    chunks_.push_back(std::make_unique_for_overwrite<char[]>(size));
    next_ = chunks_.back().get();
    end_ = next_ + size;
    if (nextChunk_ < maxChunk_) nextChunk_ *= 2;
  }
  char* kept = next_;
  std::memcpy(kept, text.data(), text.size());
  next_ += text.size();
  return std::string_view(kept, text.size());
}

}  // namespace zav
