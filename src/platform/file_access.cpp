#include "platform/file_access.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zav {

bool IsReadable(const char* path) {
  if (path == nullptr || *path == '\0') return false;
#ifdef _WIN32
  return _access(path, 4) == 0;
#else
  return access(path, R_OK) == 0;
#endif
}

}  // namespace zav
