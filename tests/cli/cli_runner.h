// Runs the built zav-import and captures what it writes.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zav::testing {

struct RunResult {
  int exitCode = -1;  // -1 when a signal ended the process
  int signal = 0;     // the signal that ended it, or 0
  std::string out;
  std::string err;
};

// An environment variable to set for the run, or to remove (no value).
using EnvironmentChange = std::pair<std::string, std::optional<std::string>>;

struct RunRequest {
  std::vector<std::string> args;
  std::filesystem::path directory;
  // Written into standard input through a pipe; none: standard input is
  // /dev/null.
  std::optional<std::string> input;
  std::vector<EnvironmentChange> environment;
  // Standard output is a pipe whose reader has already gone, as in
  // "zav-import ... | head" once head is done.
  bool closedOutputPipe = false;
};

RunResult RunWith(const RunRequest& request);

// Runs zav-import with `args` in `directory`, standard input closed.
RunResult RunZavImport(const std::vector<std::string>& args, const std::filesystem::path& directory);

// Runs zav-import with standard input, output and error on a new
// pseudo-terminal; `out` holds everything the terminal showed (its line
// ends as CR LF). None when no pseudo-terminal can be had here.
std::optional<RunResult> RunOnTerminal(const std::vector<std::string>& args, const std::filesystem::path& directory,
                                       const std::vector<EnvironmentChange>& environment);

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
