#include "output_writer.h"

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
#include <sys/stat.h>
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

}  // namespace zav::cli
