// The read-access test of a path, the one file-system question the
// library asks before it starts an import.
#pragma once

namespace zav {

// True when `path` names an existing file, not a directory, that this
// process may read.
bool IsReadable(const char* path);

}  // namespace zav
