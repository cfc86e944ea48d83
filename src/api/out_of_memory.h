#pragma once

#include <cstdint>

namespace zav {

// Files the diagnostic that an import ran out of memory, naming the file and
// its size. Memory may still be short: when even this diagnostic cannot be
// made, nothing is filed.
void ReportOutOfMemory(const char* path, uint64_t fileSize) noexcept;

}  // namespace zav
