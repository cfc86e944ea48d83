// Standard input as a model file: the library imports files by path, so the
// bytes of a pipe go to a temporary file first.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace zav::cli {

// Copies a stream into a new temporary file (in the system's temporary
// folder, TMPDIR on POSIX) and removes the file again when destroyed. While
// it exists, an interrupt, a termination request, a hang-up or a broken pipe
// removes it too before the process ends as the signal says.
class StandardInputCopy {
 public:
  StandardInputCopy() = default;
  StandardInputCopy(const StandardInputCopy&) = delete;
  StandardInputCopy& operator=(const StandardInputCopy&) = delete;
  ~StandardInputCopy();

  // False, with what went wrong in `error` (a sentence), when the copy cannot
  // be made; nothing is left behind then.
  bool Copy(std::FILE* in, std::string& error);

  const std::filesystem::path& path() const { return path_; }

 private:
  void Remove();

  std::filesystem::path path_;
};

}  // namespace zav::cli
