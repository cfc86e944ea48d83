#include "platform/file_access.h"

#include <sys/stat.h>
#include <sys/types.h>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace zav {
namespace {

// 64-bit sizes on every platform: the 32-bit Windows runtime's plain stat
// fails on a file of 2 GB or more, which would pass for an unreadable path.
#ifdef _WIN32
using FileInfo = struct _stati64;
int StatPath(const char* path, FileInfo* info) { return _stati64(path, info); }
bool IsRegular(const FileInfo& info) { return (info.st_mode & _S_IFMT) == _S_IFREG; }
#else
using FileInfo = struct stat;
int StatPath(const char* path, FileInfo* info) { return stat(path, info); }
bool IsRegular(const FileInfo& info) { return S_ISREG(info.st_mode); }
#endif

}  // namespace

bool IsReadable(const char* path) {
  if (path == nullptr || *path == '\0') return false;
  // A directory, a FIFO or a device passes the access test, but none is a
  // model file: reading a directory fails differently on each platform, a
  // FIFO without a writer blocks the open for ever, and a device such as
  // /dev/zero never ends.
  FileInfo info;
  if (StatPath(path, &info) != 0 || !IsRegular(info)) return false;
#ifdef _WIN32
  return _access(path, 4) == 0;
#else
  return access(path, R_OK) == 0;
#endif
}

uint64_t FileSize(const char* path) {
  FileInfo info;
  if (path == nullptr || StatPath(path, &info) != 0 || info.st_size < 0) return 0;
  return static_cast<uint64_t>(info.st_size);
}

std::FILE* OpenRegularFile(const char* path) {
#ifdef _WIN32
  // Opening a device here does not wait; only reading it would.
  std::FILE* file = std::fopen(path, "rb");
  if (file == nullptr) return nullptr;
  FileInfo info;
  if (_fstati64(_fileno(file), &info) != 0 || !IsRegular(info)) {
    std::fclose(file);
    return nullptr;
  }
  return file;
#else
  const int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  FileInfo info;
  if (fstat(fd, &info) != 0 || !IsRegular(info)) {
    close(fd);
    return nullptr;
  }
  const int flags = fcntl(fd, F_GETFL);
  if (flags != -1) fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = fdopen(fd, "rb");
  if (file == nullptr) close(fd);
  return file;
#endif
}

}  // namespace zav
