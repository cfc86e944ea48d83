#pragma once

#include "zav.h"

namespace zav {

// The status rule: a call made while the status is non-zero does nothing. A
// null status pointer is outside the protocol; such a call does nothing too.
inline bool StatusBlocks(const int* status) { return status == nullptr || *status != ZAV_STATUS_OK; }

// Runs the body of an export so that no exception crosses the C boundary: an
// exception (an allocation failure, say) becomes status 2 and result 0.
template <typename Body>
int GuardExport(int* status, Body&& body) noexcept {
  try {
    return body();
  } catch (...) {
    if (status != nullptr) *status = ZAV_STATUS_BAD_ARGUMENT;
    return 0;
  }
}

}  // namespace zav
