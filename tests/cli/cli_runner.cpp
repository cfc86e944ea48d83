#include "cli_runner.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zav::testing {
namespace fs = std::filesystem;

namespace {

std::vector<std::string> Argv(const std::vector<std::string>& args) {
  std::vector<std::string> argv = {ZAV_IMPORT_BINARY};
  argv.insert(argv.end(), args.begin(), args.end());
  return argv;
}

// In the child, between fork and exec.
[[noreturn]] void Exec(std::vector<std::string> argvText, const fs::path& directory,
                       const std::vector<EnvironmentChange>& environment) {
  std::vector<char*> argv;
  for (std::string& arg : argvText) argv.push_back(arg.data());
  argv.push_back(nullptr);
  for (const auto& [name, value] : environment) {
    if (value.has_value()) {
      ::setenv(name.c_str(), value->c_str(), 1);
    } else {
      ::unsetenv(name.c_str());
    }
  }
  // The test process ignores SIGPIPE (it writes into pipes whose readers may
  // be gone); the program gets the default back.
  std::signal(SIGPIPE, SIG_DFL);
  if (::chdir(directory.c_str()) != 0) ::_exit(127);
  ::execv(argv[0], argv.data());
  ::_exit(127);
}

void Finish(pid_t child, RunResult& result) {
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
}

}  // namespace

RunResult RunWith(const RunRequest& request) {
  std::signal(SIGPIPE, SIG_IGN);
  // The captured output goes to files of this process's own, never into
  // `directory`: tests that run at the same time may share it (the test data
  // folder, say).
  static std::atomic<int> runs{0};
  const std::string stem = "zav-cli-run-" + std::to_string(::getpid()) + "-" + std::to_string(runs++);
  const fs::path outPath = fs::temp_directory_path() / (stem + ".out");
  const fs::path errPath = fs::temp_directory_path() / (stem + ".err");

  int inputPipe[2] = {-1, -1};
  int outputPipe[2] = {-1, -1};
  if ((request.input.has_value() && ::pipe(inputPipe) != 0) || (request.closedOutputPipe && ::pipe(outputPipe) != 0)) {
    throw std::runtime_error("pipe failed");
  }
  if (request.closedOutputPipe) ::close(outputPipe[0]);

  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    int in = inputPipe[0];
    if (!request.input.has_value()) in = ::open("/dev/null", O_RDONLY);
    int out = outputPipe[1];
    if (!request.closedOutputPipe) out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0) ::_exit(127);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    if (inputPipe[1] >= 0) ::close(inputPipe[1]);
    Exec(Argv(request.args), request.directory, request.environment);
  }
  if (request.closedOutputPipe) ::close(outputPipe[1]);
  if (request.input.has_value()) {
    ::close(inputPipe[0]);
    const std::string& input = *request.input;
    for (std::size_t at = 0; at < input.size();) {
      const ssize_t wrote = ::write(inputPipe[1], input.data() + at, input.size() - at);
      if (wrote < 0 && errno == EINTR) continue;
      if (wrote <= 0) break;  // the program stopped reading
      at += static_cast<std::size_t>(wrote);
    }
    ::close(inputPipe[1]);
  }
  RunResult result;
  Finish(child, result);
  result.out = ReadBytes(outPath);
  result.err = ReadBytes(errPath);
  fs::remove(outPath);
  fs::remove(errPath);
  return result;
}

RunResult RunZavImport(const std::vector<std::string>& args, const fs::path& directory) {
  RunRequest request;
  request.args = args;
  request.directory = directory;
  return RunWith(request);
}

std::optional<RunResult> RunOnTerminal(const std::vector<std::string>& args, const fs::path& directory,
                                       const std::vector<EnvironmentChange>& environment) {
  int master = -1;
  const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
  if (child < 0) return std::nullopt;
  if (child == 0) Exec(Argv(args), directory, environment);
  RunResult result;
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(master, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;  // EIO once the program has closed the terminal
    result.out.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(master);
  Finish(child, result);
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
