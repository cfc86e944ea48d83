#include "platform/large_block.h"

#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace zav {
namespace {

#if defined(__linux__)
constexpr std::size_t kHugePage = 2 * 1024 * 1024;
#endif

}  // namespace

void* AllocateLargeBlock(std::size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (size >= kHugePage) {
    const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
    void* block = std::aligned_alloc(kHugePage, rounded);
    if (block == nullptr) throw std::bad_alloc();
    // Advice only: where the system has no huge page to give, small pages
    // come as they would anyway.
    ::madvise(block, rounded, MADV_HUGEPAGE);
    return block;
  }
#endif
  return ::operator new(size);
}

void FreeLargeBlock(void* block, std::size_t size) noexcept {
  if (block == nullptr) return;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (size >= kHugePage) {
    std::free(block);
    return;
  }
#endif
  (void)size;
  ::operator delete(block);
}

}  // namespace zav
