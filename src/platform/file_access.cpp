#include "platform/file_access.h"

#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zav {

bool IsReadable(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  // A directory passes the access test on every platform, but reading it
  // fails differently on each; it is no model file, so it is not readable.
  struct stat info;
  if (stat(path, &info) != 0 || (info.st_mode & S_IFMT) == S_IFDIR) return false;
#ifdef _WIN32
  return _access(path, 4) == 0;
#else
  return access(path, R_OK) == 0;
#endif
}

}  // namespace zav
