#include "cards/card_store.h"

#include <cstdint>
#include <cstring>
#include <new>

namespace zav {
namespace {

constexpr std::size_t kLargestBlock = 4 * 1024 * 1024;

}  // namespace

void* CardStore::AllocateInNewBlock(std::size_t size, std::size_t alignment) {
  // Blocks grow with the import, so that a small file takes little and a
  // large one few blocks; a single large object gets a block of its own.
  const std::size_t blockSize = size + alignment > nextBlock_ ? size + alignment : nextBlock_;
  blocks_.emplace_back(blockSize);
  next_ = reinterpret_cast<std::byte*>(blocks_.back().data());
  end_ = next_ + blockSize;
  if (nextBlock_ < kLargestBlock) nextBlock_ *= 2;
  const auto address = reinterpret_cast<std::uintptr_t>(next_);
  auto* at = reinterpret_cast<std::byte*>((address + alignment - 1) & ~(std::uintptr_t{alignment} - 1));
  next_ = at + size;
  return at;
}

std::string_view CardStore::Copy(std::string_view text) {
  char* kept = static_cast<char*>(Allocate(text.size(), 1));
  std::memcpy(kept, text.data(), text.size());
  return std::string_view(kept, text.size());
}

Token* CardStore::NewLooseToken() { return new (Allocate(sizeof(Token), alignof(Token))) Token(); }

}  // namespace zav
