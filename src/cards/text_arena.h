#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace zav {

// Keeps copies of texts in a few large chunks instead of one heap block per
// text. A kept text stays where it is until the arena is cleared or goes;
// clearing keeps the chunks for the texts kept next.
class TextArena {
 public:
  explicit TextArena(std::size_t firstChunk = 64, std::size_t maxChunk = 4096)
      : nextChunk_(firstChunk), maxChunk_(maxChunk) {}
  TextArena(TextArena&& other) noexcept;
  TextArena& operator=(TextArena&& other) noexcept;
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;

  // Inline: a card's edits keep texts of a few characters by the hundred
  // thousand.
  std::string_view Keep(std::string_view text) {
    if (text.empty()) return std::string_view();
    char* kept = Allocate(text.size());
    CopyChars(kept, text.data(), text.size());
    return std::string_view(kept, text.size());
  }
  // Copies `size` characters; up to sixty-four (most texts a card's edits
  // keep, and the ends of the lines they add) as two or four blocks, words,
  // halves or single characters that may overlap, without the call a
  // library copy costs.
  static void CopyChars(char* to, const char* from, std::size_t size) {
    if (size > 16) {
      if (size > 64) {
        std::memcpy(to, from, size);
      } else if (size > 32) {
        CopyEnds<Block>(to, from, 32);
        CopyEnds<Block>(to + size - 32, from + size - 32, 32);
      } else {
        CopyEnds<Block>(to, from, size);
      }
    } else if (size >= 8) {
      CopyEnds<std::uint64_t>(to, from, size);
    } else if (size >= 4) {
      CopyEnds<std::uint32_t>(to, from, size);
    } else if (size > 0) {
      const char first = from[0];
      const char middle = from[size / 2];
      const char last = from[size - 1];
      to[0] = first;
      to[size / 2] = middle;
      to[size - 1] = last;
    }
  }
  // Room for `size` characters, to be filled by the caller.
  char* Allocate(std::size_t size) {
    if (static_cast<std::size_t>(end_ - next_) < size) return AllocateInNextChunk(size);
    char* room = next_;
    next_ += size;
    return room;
  }

  // Whether the `size` characters at `data` lie in the room given from the
  // chunk being filled (only there: one comparison, not a search).
  bool HoldsRecent(const char* data, std::size_t size) const {
    // Compared as addresses: the text may lie anywhere at all.
    const auto at = reinterpret_cast<std::uintptr_t>(data);
    const auto next = reinterpret_cast<std::uintptr_t>(next_);
    return chunkBegin_ != nullptr && reinterpret_cast<std::uintptr_t>(chunkBegin_) <= at && at <= next &&
           size <= next - at;
  }

  // Forgets every text kept; the chunks stay for reuse, the first being
  // filled again at once, so that the first text kept next takes no call.
  void Clear() {
    current_ = 0;
    chunkBegin_ = first_;
    next_ = first_;
    end_ = firstEnd_;
  }

 private:
  char* AllocateInNextChunk(std::size_t size);
  // Sixteen characters, copied as one.
  struct Block {
    char bytes[16];
  };
  // The first and the last sizeof(Word) of `size` characters, `size` being
  // at least one word and at most two.
  template <typename Word>
  static void CopyEnds(char* to, const char* from, std::size_t size) {
    Word head;
    Word tail;
    std::memcpy(&head, from, sizeof head);
    std::memcpy(&tail, from + size - sizeof tail, sizeof tail);
    std::memcpy(to, &head, sizeof head);
    std::memcpy(to + size - sizeof tail, &tail, sizeof tail);
  }

  struct Chunk {
    std::unique_ptr<char[]> data;
    std::size_t size;
  };

  std::vector<Chunk> chunks_;
  std::size_t current_ = 0;      // the chunk being filled, when there is one
  char* chunkBegin_ = nullptr;  // its first character
  char* next_ = nullptr;        // the unused rest of that chunk
  char* end_ = nullptr;
  // The first chunk, the one a Clear fills again (none before it is made).
  char* first_ = nullptr;
  char* firstEnd_ = nullptr;
  std::size_t nextChunk_;
  std::size_t maxChunk_;
};

}  // namespace zav
