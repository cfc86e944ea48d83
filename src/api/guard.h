#pragma once

#include <exception>
#include <new>

#include "zav.h"

namespace zav {

// The status rule: a call made while the status is non-zero does nothing. A
// null status pointer is outside the protocol; such a call does nothing too.
inline bool StatusBlocks(const int* status) { return status == nullptr || *status != ZAV_STATUS_OK; }

// Runs the body of an export so that no exception crosses the C boundary: an
// exception becomes status 2 and result 0. When it was an allocation failure,
// `onOutOfMemory` runs after the body's frames are gone, so that whatever the
// body had allocated is free again by then; it must not throw.
template <typename Body, typename OnOutOfMemory>
int GuardExport(int* status, Body&& body, OnOutOfMemory&& onOutOfMemory) noexcept {
  // The runtime keeps each thread's exception state in storage that the 32-bit
  // Windows build allocates on first use, and aborts the process when that
  // allocation fails. Asked for here, it is allocated while memory is still
  // there, not at the first exception, which may be the one memory ran out at.
  // (The call is declared pure: a result left unused would let it vanish.)
  [[maybe_unused]] volatile int pending = std::uncaught_exceptions();
  bool outOfMemory = false;
  try {
    return body();
  } catch (const std::bad_alloc&) {
    outOfMemory = true;
  } catch (...) {
  }
  if (status != nullptr) *status = ZAV_STATUS_BAD_ARGUMENT;
  if (outOfMemory) onOutOfMemory();
  return 0;
}

template <typename Body>
int GuardExport(int* status, Body&& body) noexcept {
  return GuardExport(status, static_cast<Body&&>(body), [] {});
}

}  // namespace zav
