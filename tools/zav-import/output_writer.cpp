#include "output_writer.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <system_error>
#include <unordered_set>

#ifdef _WIN32
#include <process.h>
#else
#include <climits>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>
#endif

namespace zav::cli {
namespace fs = std::filesystem;

namespace {

std::string CanonicalText(const fs::path& path) {
  std::error_code error;
  fs::path canonical = fs::weakly_canonical(fs::absolute(path, error), error);
  return (error ? fs::absolute(path) : canonical).lexically_normal().generic_string();
}

// Canonical names of many paths, each directory's worked out once: resolving
// a path looks up every component of it, and a batch holds thousands of
// files in a few directories.
class CanonicalNames {
 public:
  std::string Of(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = Absolute(path, error);
    const fs::path name = absolute.filename();
    // A link's own name is not its target's, and "." or ".." name no entry.
    if (error || name.empty() || name == "." || name == ".." || fs::is_symlink(fs::symlink_status(absolute, error))) {
      return CanonicalText(path);
    }
    const fs::path parent = absolute.parent_path();
    auto known = directories_.find(parent);
    if (known == directories_.end()) {
      fs::path canonical = fs::weakly_canonical(parent, error);
      if (error) return CanonicalText(path);
      known = directories_.emplace(parent, std::move(canonical)).first;
    }
    return (known->second / name).lexically_normal().generic_string();
  }

 private:
  // What fs::absolute gives, with the working directory asked for once: a
  // path such as "C:name" (relative, on a drive) is left to fs::absolute.
  fs::path Absolute(const fs::path& path, std::error_code& error) {
    if (path.is_absolute() || path.has_root_name() || path.has_root_directory()) return fs::absolute(path, error);
    if (workingDirectory_.empty()) workingDirectory_ = fs::current_path(error);
    if (error) return fs::path();
    return workingDirectory_ / path;
  }

  std::map<fs::path, fs::path> directories_;
  fs::path workingDirectory_;
};

// A file's identity beyond its spelling: hard links and bind mounts reach the
// same file through unrelated paths.
std::string FileIdentity(const fs::path& path) {
#ifdef _WIN32
  (void)path;
  return std::string();
#else
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::string();
  return std::to_string(info.st_dev) + ":" + std::to_string(info.st_ino);
#endif
}

long ProcessId() {
#ifdef _WIN32
  return static_cast<long>(_getpid());
#else
  return static_cast<long>(::getpid());
#endif
}

bool WriteInto(const fs::path& path, const ContentWriter& write, std::string& error) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (file == nullptr) {
    error = "cannot write " + path.string() + ": " + std::strerror(errno);
    return false;
  }
  bool ok = write(file);
  int savedErrno = ok ? 0 : errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    savedErrno = errno;
  }
  if (!ok) error = "cannot write " + path.string() + ": " + std::strerror(savedErrno != 0 ? savedErrno : EIO);
  return ok;
}

}  // namespace

OutputPlan PlanOutputs(const std::vector<InputFile>& inputs, const std::string& output, bool directoryMode) {
  OutputPlan plan;
  if (output.empty()) return plan;

  CanonicalNames canonical;
  std::unordered_set<std::string> inputNames;
  std::unordered_set<std::string> inputIdentities;
  for (const InputFile& input : inputs) {
    inputNames.insert(canonical.Of(input.path));
    std::string identity = FileIdentity(input.path);
    if (!identity.empty()) inputIdentities.insert(std::move(identity));
  }

  std::set<std::string> taken;
  for (const InputFile& input : inputs) {
    fs::path path = directoryMode ? fs::path(output) / input.relative : fs::path(output);
    const std::string name = canonical.Of(path);
    const std::string identity = FileIdentity(path);
    if (inputNames.count(name) != 0 || (!identity.empty() && inputIdentities.count(identity) != 0)) {
      plan.problem = "refusing to write " + path.string() + ": it is an input file";
      plan.paths.clear();
      return plan;
    }
    if (!taken.insert(name).second) {
      plan.problem = "two inputs would be written to " + path.string();
      plan.paths.clear();
      return plan;
    }
    plan.paths.push_back(std::move(path));
  }
  return plan;
}

bool WriteFileAtomically(const fs::path& path, std::string_view content, std::string& error) {
  return WriteFileAtomically(
      path,
      [content](std::FILE* file) {
        return content.empty() || std::fwrite(content.data(), 1, content.size(), file) == content.size();
      },
      error);
}

bool WriteFileAtomically(const fs::path& path, const ContentWriter& write, std::string& error) {
  static std::atomic<unsigned> counter{0};
  std::error_code code;
  const fs::path parent = path.parent_path();
  if (!parent.empty()) {
    fs::create_directories(parent, code);
    if (code) {
      error = "cannot create directory " + parent.string() + ": " + code.message();
      return false;
    }
  }
  const fs::file_status status = fs::status(path, code);
  if (fs::is_directory(status)) {
    error = "cannot write " + path.string() + ": Is a directory";
    return false;
  }
  // A device or a pipe (-o /dev/null, -o /dev/stdout, a FIFO) is written
  // into: renaming a file over it would replace the device itself.
  if (fs::exists(status) && !fs::is_regular_file(status)) return WriteInto(path, write, error);

  fs::path temporary = path;
  temporary.replace_filename("." + path.filename().string() + ".zav-tmp-" + std::to_string(ProcessId()) + "-" +
                             std::to_string(counter++));
  std::FILE* file = std::fopen(temporary.string().c_str(), "wb");
  if (file == nullptr) {
    error = "cannot write " + path.string() + ": " + std::strerror(errno);
    return false;
  }
  bool ok = write(file);
  int savedErrno = ok ? 0 : errno;
  if (std::fclose(file) != 0 && ok) {
    ok = false;
    savedErrno = errno;
  }
  if (ok) {
    fs::rename(temporary, path, code);
    if (!code) return true;
    error = "cannot write " + path.string() + ": " + code.message();
  } else {
    error = "cannot write " + path.string() + ": " + std::strerror(savedErrno != 0 ? savedErrno : EIO);
  }
  fs::remove(temporary, code);
  return false;
}

bool WriteStretches(std::FILE* file, std::span<const std::string_view> stretches) {
  std::size_t next = 0;  // the first stretch not written whole
#ifndef _WIN32
  // A library's text is a few long stretches of the file as read between
  // the short texts of edits: writev hands them over where they lie. What
  // the stream buffered goes first.
#ifdef IOV_MAX
  constexpr std::size_t kBatch = IOV_MAX < 1024 ? IOV_MAX : 1024;
#else
  constexpr std::size_t kBatch = 16;
#endif
  if (std::fflush(file) != 0) return false;
  const int descriptor = fileno(file);
  std::size_t writtenOfNext = 0;  // of stretch `next`, by a write that stopped inside it
  iovec batch[kBatch];
  while (next < stretches.size()) {
    const std::size_t count = std::min(kBatch, stretches.size() - next);
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
      const std::string_view text = stretches[next + i];
      batch[i].iov_base = const_cast<char*>(text.data());
      batch[i].iov_len = text.size();
      total += text.size();
    }
    batch[0].iov_base = static_cast<char*>(batch[0].iov_base) + writtenOfNext;
    batch[0].iov_len -= writtenOfNext;
    total -= writtenOfNext;
    const ssize_t written = total == 0 ? 0 : ::writev(descriptor, batch, static_cast<int>(count));
    if (written < 0 || (written == 0 && total != 0)) {
      if (written < 0 && errno == EINTR) continue;
      // The rest goes through the stream, which meets the failure again and
      // reports it as for any write.
      const std::string_view rest = stretches[next].substr(writtenOfNext);
      if (std::fwrite(rest.data(), 1, rest.size(), file) != rest.size()) return false;
      for (++next; next < stretches.size(); ++next) {
        const std::string_view text = stretches[next];
        if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) return false;
      }
      return std::fflush(file) == 0;
    }
    if (static_cast<std::size_t>(written) == total) {
      next += count;
      writtenOfNext = 0;
      continue;
    }
    // A short write: past the stretches it wrote whole, into the one it
    // stopped in.
    auto left = static_cast<std::size_t>(written);
    while (next < stretches.size() && left >= stretches[next].size() - writtenOfNext) {
      left -= stretches[next].size() - writtenOfNext;
      writtenOfNext = 0;
      ++next;
    }
    writtenOfNext += left;
  }
  return true;
#else
  for (; next < stretches.size(); ++next) {
    const std::string_view text = stretches[next];
    if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) return false;
  }
  return true;
#endif
}

}  // namespace zav::cli
