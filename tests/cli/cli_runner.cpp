#include "cli_runner.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zav::testing {
namespace fs = std::filesystem;

RunResult RunZavImport(const std::vector<std::string>& args, const fs::path& directory) {
  // The captured output goes to files of this process's own, never into
  // `directory`: tests that run at the same time may share it (the test data
  // folder, say).
  static std::atomic<int> runs{0};
  const std::string stem = "zav-cli-run-" + std::to_string(::getpid()) + "-" + std::to_string(runs++);
  const fs::path outPath = fs::temp_directory_path() / (stem + ".out");
  const fs::path errPath = fs::temp_directory_path() / (stem + ".err");
  std::vector<std::string> argvText = {ZAV_IMPORT_BINARY};
  argvText.insert(argvText.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& arg : argvText) argv.push_back(arg.data());
  argv.push_back(nullptr);

  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || ::chdir(directory.c_str()) != 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  RunResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadBytes(outPath);
  result.err = ReadBytes(errPath);
  fs::remove(outPath);
  fs::remove(errPath);
  return result;
}

ScratchDirectory::ScratchDirectory() {
  static std::atomic<int> counter{0};
  path_ = fs::temp_directory_path() /
          ("zav-cli-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

ScratchDirectory::~ScratchDirectory() {
  std::error_code error;
  fs::remove_all(path_, error);
}

fs::path ScratchDirectory::Write(const std::string& relative, const std::string& content) const {
  const fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary) << content;
  return file;
}

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace zav::testing
