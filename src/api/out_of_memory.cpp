#include "api/out_of_memory.h"

#include <cinttypes>
#include <cstdio>

#include "diagnostics/add_diagnostic.h"

namespace zav {

void ReportOutOfMemory(const char* path, uint64_t fileSize) noexcept {
  char size[24];
  std::snprintf(size, sizeof size, "%" PRIu64, fileSize);
  try {
    AddDiagnostic(MessageCode::OutOfMemory, nullptr, {path != nullptr ? path : "", size});
  } catch (...) {
    // The list is left as it was: filing either completes or adds nothing.
  }
}

}  // namespace zav
