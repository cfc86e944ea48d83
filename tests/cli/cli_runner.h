// Runs the built zav-import and captures what it writes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace zav::testing {

struct RunResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Runs zav-import with `args` in `directory`, standard input closed.
RunResult RunZavImport(const std::vector<std::string>& args, const std::filesystem::path& directory);

// A fresh, empty directory, removed again by the destructor.
class ScratchDirectory {
 public:
  ScratchDirectory();
  ~ScratchDirectory();
  const std::filesystem::path& path() const { return path_; }
  // Writes a file below the directory, creating its folders.
  std::filesystem::path Write(const std::string& relative, const std::string& content) const;

 private:
  std::filesystem::path path_;
};

std::string ReadBytes(const std::filesystem::path& path);

}  // namespace zav::testing
