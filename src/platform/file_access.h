// The file-system questions the library asks before and while it reads an
// import's file.
#pragma once

#include <cstdint>
#include <cstdio>

namespace zav {

// True when `path` names an existing regular file that this process may read.
bool IsReadable(const char* path);

// The size of the file at `path` in bytes; 0 when it cannot be told.
uint64_t FileSize(const char* path);

// Opens `path` for reading in binary mode; none unless it is a regular file.
// The path may have been replaced since IsReadable looked at it: a FIFO is
// refused without waiting for a writer, so an import never blocks on one.
std::FILE* OpenRegularFile(const char* path);

}  // namespace zav
