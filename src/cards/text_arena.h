#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace zav {

// Keeps copies of texts in a few large chunks instead of one heap block per
// text. A kept text stays where it is until the arena goes.
class TextArena {
 public:
  explicit TextArena(std::size_t firstChunk = 64, std::size_t maxChunk = 4096)
      : nextChunk_(firstChunk), maxChunk_(maxChunk) {}
  TextArena(TextArena&& other) noexcept;
  TextArena& operator=(TextArena&& other) noexcept;
  TextArena(const TextArena&) = delete;
  TextArena& operator=(const TextArena&) = delete;

  std::string_view Keep(std::string_view text);

 private:
  std::vector<std::unique_ptr<char[]>> chunks_;
  char* next_ = nullptr;  // the unused rest of the newest chunk
  char* end_ = nullptr;
  std::size_t nextChunk_;
  std::size_t maxChunk_;
};

}  // namespace zav
