// A replacement of the global operator new and delete for tests that make
// allocations fail on purpose. It counts the allocations made while it is
// armed, fails the chosen one (and, when asked, every one after it), can run
// a hook at a chosen one, and counts the blocks still alive, so that a test
// can tell that everything allocated was released again.
#pragma once

#include <cstdint>

namespace zav::testing {

struct AllocationPlan {
  // The armed allocation that fails, counted from 1; 0: none fails.
  int64_t failAt = 0;
  // After the first failure, every later armed allocation fails too.
  bool failRest = false;
  // The armed allocation before which `hook` runs (its own allocations are
  // not counted); 0: none.
  int64_t hookAt = 0;
  void (*hook)(void* context) = nullptr;
  void* context = nullptr;
};

// Starts a new plan: the count of armed allocations begins at 0.
void StartPlan(const AllocationPlan& plan);
// Allocations count, and may fail, only while armed. Host code arms the
// library's calls and nothing of its own.
void SetArmed(bool armed);
// Armed allocations made since StartPlan.
int64_t ArmedAllocations();
// True once the plan has failed an allocation.
bool AllocationFailed();
// Blocks from operator new not yet given back, armed or not.
int64_t LiveBlocks();

// Arms the allocator for its lifetime.
class Armed {
 public:
  Armed() { SetArmed(true); }
  ~Armed() { SetArmed(false); }
  Armed(const Armed&) = delete;
  Armed& operator=(const Armed&) = delete;
};

}  // namespace zav::testing
