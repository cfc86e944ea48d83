// libFuzzer target: zav-import's command line and output writing. The first
// bytes choose a command line from the converter's options (with paths that
// all lie in a folder of this process); the rest are the contents of the two
// input files, one beside the other in a subfolder. Each input runs the
// converter in-process as main() would, inside that folder: an option left
// without its value takes the next argument as a relative output path, which
// must land there too. Everything but the inputs is removed before the next.
//
// Standard output goes to a file of the folder; pass -close_fd_mask=2 to keep
// the converter's diagnostics off the terminal, and an absolute
// -artifact_prefix, since a finding is written while the folder is current.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "converter.h"
#include "options.h"

namespace fs = std::filesystem;

namespace {

struct Workspace {
  fs::path root = fs::temp_directory_path() / ("zav-fuzz-converter-" + std::to_string(getpid()));
  Workspace() { fs::create_directories(root); }
  ~Workspace() {
    std::error_code ignored;
    fs::remove_all(root, ignored);
  }
};

const Workspace& TheWorkspace() {
  static const Workspace workspace;
  return workspace;
}

// Letters only: a name the fuzzer makes can neither leave the workspace nor
// become an option that names a file.
std::string FuzzedWord(FuzzedDataProvider& in) {
  std::string word = in.ConsumeRandomLengthString(12);
  std::string letters;
  for (char c : word) {
    if (c >= 'a' && c <= 'z') letters.push_back(c);
  }
  return letters;
}

std::vector<std::string> CommandLine(FuzzedDataProvider& in, const fs::path& root) {
  const std::string in_ = (root / "in").string();
  const std::string a = (root / "in" / "a.lib").string();
  const std::string b = (root / "in" / "sub" / "b.mod").string();
  std::vector<std::string> args = {"zav-import"};
  const int options = in.ConsumeIntegralInRange(0, 7);
  for (int i = 0; i < options; ++i) {
    switch (in.ConsumeIntegralInRange(0, 22)) {
      case 0: args.push_back("-r"); break;
      case 1: args.push_back("--list"); break;
      case 2: args.push_back("--dump"); break;
      case 3: args.push_back("--summary"); break;
      case 4: args.push_back("-q"); break;
      case 5: args.push_back("--progress"); break;
      case 6: args.push_back("--no-progress"); break;
      case 7: args.push_back("--diagnostics=text"); break;
      case 8: args.push_back("--diagnostics=native"); break;
      case 9: args.push_back("--diagnostics=json"); break;
      case 10: args.push_back("--diagnostics=" + FuzzedWord(in)); break;
      case 11: args.push_back("--fail-on=" + std::string(in.ConsumeBool() ? "warning" : "never")); break;
      case 12: args.push_back("--fail-on=" + FuzzedWord(in)); break;
      case 13: args.insert(args.end(), {"-o", (root / "out").string()}); break;
      case 14: args.insert(args.end(), {"-o", (root / "out.lib").string()}); break;
      case 15: args.insert(args.end(), {"--output", (root / "out" / "deep" / "er" / "x.lib").string()}); break;
      case 16: args.insert(args.end(), {"-o", a}); break;  // an input: refused
      case 17: args.push_back("-o"); break;                // without its value
      case 18: args.push_back(in.ConsumeBool() ? "--help" : "--version"); break;
      case 19: args.push_back("--" + FuzzedWord(in)); break;
      case 20: args.insert(args.end(), {"--report", (root / "report").string()}); break;
      case 21: args.push_back("--target=" + (in.ConsumeBool() ? std::string("ngspice") : FuzzedWord(in))); break;
      default: args.push_back((root / "in" / FuzzedWord(in)).string()); break;  // a file that is not there
    }
  }
  const int inputs = in.ConsumeIntegralInRange(0, 3);
  for (int i = 0; i < inputs; ++i) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
      case 0: args.push_back(a); break;
      case 1: args.push_back(b); break;
      case 2: args.push_back(in_); break;
      default: args.push_back(in_ + "/"); break;
    }
  }
  return args;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const fs::path& root = TheWorkspace().root;
  FuzzedDataProvider in(data, size);
  const std::vector<std::string> args = CommandLine(in, root);
  const std::string rest = in.ConsumeRemainingBytesAsString();
  const std::size_t split = rest.size() / 2;

  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(root, ignored)) {
    if (entry.path().filename() != "in") fs::remove_all(entry.path(), ignored);
  }
  fs::create_directories(root / "in" / "sub");
  WriteBytes(root / "in" / "a.lib", rest.substr(0, split));
  WriteBytes(root / "in" / "sub" / "b.mod", rest.substr(split));
  if (std::freopen((root / "stdout.txt").c_str(), "wb", stdout) == nullptr) return 0;

  std::vector<const char*> argv;
  for (const std::string& arg : args) argv.push_back(arg.c_str());
  const fs::path previous = fs::current_path();
  fs::current_path(root);
  const zav::cli::ParsedCommandLine parsed =
      zav::cli::ParseCommandLine(static_cast<int>(argv.size()), argv.data(), stdout, stderr,
                                 /*stdinIsTerminal=*/true);  // no input named: a usage error, not a read
  if (parsed.run) {
    try {
      zav::cli::RunConversion(parsed.options);
    } catch (const std::exception&) {
      // main() reports these and exits with status 2.
    }
  }
  fs::current_path(previous);
  return 0;
}
