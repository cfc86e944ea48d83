#include "standard_input.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace zav::cli {
namespace fs = std::filesystem;

namespace {

// The one temporary file a signal handler may have to remove: a fixed buffer,
// since the handler may call only async-signal-safe functions.
char gPendingPath[4096];
volatile std::sig_atomic_t gPending = 0;

constexpr int kSignals[] = {
    SIGINT, SIGTERM,
#ifndef _WIN32
    SIGHUP, SIGPIPE,
#endif
};

extern "C" void RemoveAndRaise(int signal) {
  if (gPending != 0) {
#ifdef _WIN32
    _unlink(gPendingPath);
#else
    unlink(gPendingPath);
#endif
    gPending = 0;
  }
  std::signal(signal, SIG_DFL);
  std::raise(signal);
}

void Guard(const fs::path& path) {
  const std::string text = path.string();
  if (text.size() >= sizeof gPendingPath) return;  // the destructor still removes it
  std::memcpy(gPendingPath, text.c_str(), text.size() + 1);
  gPending = 1;
  for (int signal : kSignals) std::signal(signal, RemoveAndRaise);
}

void Unguard() {
  gPending = 0;
  for (int signal : kSignals) std::signal(signal, SIG_DFL);
}

// Creates a new, empty file of a name no one else has; -1 on failure.
int CreateTemporary(fs::path& path) {
  std::error_code error;
  const fs::path folder = fs::temp_directory_path(error);
  if (error) return -1;
#ifdef _WIN32
  static unsigned counter = 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    path = folder / ("zav-import-stdin-" + std::to_string(_getpid()) + "-" + std::to_string(counter++));
    const int fd = _open(path.string().c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
#else
  std::string pattern = (folder / "zav-import-stdin-XXXXXX").string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkstemp(name.data());
  if (fd >= 0) path = name.data();
  return fd;
#endif
}

}  // namespace

StandardInputCopy::~StandardInputCopy() { Remove(); }

void StandardInputCopy::Remove() {
  if (path_.empty()) return;
  std::error_code error;
  fs::remove(path_, error);
  Unguard();
  path_.clear();
}

bool StandardInputCopy::Copy(std::FILE* in, std::string& error) {
  Remove();
  fs::path path;
#ifndef _WIN32
  // A signal between the file's creation and its guard would leave the file
  // behind: the signals wait until the guard is in place.
  sigset_t signals;
  sigset_t previous;
  sigemptyset(&signals);
  for (int signal : kSignals) sigaddset(&signals, signal);
  pthread_sigmask(SIG_BLOCK, &signals, &previous);
#endif
  const int fd = CreateTemporary(path);
  const int createError = errno;
  if (fd >= 0) {
    path_ = path;
    Guard(path_);
  }
#ifndef _WIN32
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
#endif
  if (fd < 0) {
    error = std::string("cannot create a temporary file: ") + std::strerror(createError);
    return false;
  }
#ifdef _WIN32
  std::FILE* out = _fdopen(fd, "wb");
#else
  std::FILE* out = fdopen(fd, "wb");
#endif
  if (out == nullptr) {
    error = std::string("cannot write a temporary file: ") + std::strerror(errno);
    Remove();
    return false;
  }
  char block[1 << 16];
  bool ok = true;
  for (;;) {
    const std::size_t got = std::fread(block, 1, sizeof block, in);
    if (got > 0 && std::fwrite(block, 1, got, out) != got) {
      error = std::string("cannot write a temporary file: ") + std::strerror(errno);
      ok = false;
      break;
    }
    if (got < sizeof block) {
      if (std::ferror(in)) {
        error = std::string("cannot read <stdin>: ") + std::strerror(errno != 0 ? errno : EIO);
        ok = false;
      }
      break;
    }
  }
  if (std::fclose(out) != 0 && ok) {
    error = std::string("cannot write a temporary file: ") + std::strerror(errno);
    ok = false;
  }
  if (!ok) Remove();
  return ok;
}

}  // namespace zav::cli
