#include "failing_allocator.h"

#include <cstddef>
#include <cstdlib>
#include <new>

namespace zav::testing {
namespace {

// Plain globals: the library is called from one thread, and these are read
// inside operator new, where nothing may allocate.
AllocationPlan gPlan;
bool gArmed = false;
bool gInHook = false;
bool gFailed = false;
int64_t gArmedCount = 0;
int64_t gLive = 0;

// False when this allocation is to fail.
bool Admit() {
  if (!gArmed || gInHook) return true;
  ++gArmedCount;
  if (gPlan.hook != nullptr && gArmedCount == gPlan.hookAt) {
    gInHook = true;
    gPlan.hook(gPlan.context);
    gInHook = false;
  }
  if (gArmedCount == gPlan.failAt || (gFailed && gPlan.failRest)) {
    gFailed = true;
    return false;
  }
  return true;
}

void* Allocate(std::size_t size, std::size_t alignment) {
  if (!Admit()) return nullptr;
  if (size == 0) size = 1;
  void* block;
  if (alignment <= alignof(std::max_align_t)) {
    block = std::malloc(size);
  } else {
    block = std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
  }
  if (block != nullptr) ++gLive;
  return block;
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
  void* block = Allocate(size, alignment);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void Release(void* block) noexcept {
  if (block == nullptr) return;
  --gLive;
  std::free(block);
}

constexpr std::size_t kPlain = alignof(std::max_align_t);

}  // namespace

void StartPlan(const AllocationPlan& plan) {
  gPlan = plan;
  gArmedCount = 0;
  gFailed = false;
}

void SetArmed(bool armed) { gArmed = armed; }
int64_t ArmedAllocations() { return gArmedCount; }
bool AllocationFailed() { return gFailed; }
int64_t LiveBlocks() { return gLive; }

}  // namespace zav::testing

using zav::testing::Allocate;
using zav::testing::AllocateOrThrow;
using zav::testing::kPlain;
using zav::testing::Release;

void* operator new(std::size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size, kPlain); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, kPlain); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, kPlain); }
void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return Allocate(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return Allocate(size, static_cast<std::size_t>(alignment));
}

void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete(void* block, std::align_val_t) noexcept { Release(block); }
void operator delete[](void* block, std::align_val_t) noexcept { Release(block); }
void operator delete(void* block, std::size_t, std::align_val_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t, std::align_val_t) noexcept { Release(block); }
void operator delete(void* block, std::align_val_t, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, std::align_val_t, const std::nothrow_t&) noexcept { Release(block); }
