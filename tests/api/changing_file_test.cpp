// Files that change between the read-access test of ZAV_PerformImport and
// the read, and paths that are no regular file. The failing allocator's hook
// runs at the import's first allocation: the access test has passed by then
// and the file is not yet open.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "diagnostics/diagnostic_list.h"
#include "failing_allocator.h"
#include "host_run.h"

namespace fs = std::filesystem;
using zav::testing::HostRun;

namespace {

// Ends the test process when a call blocks: a hang fails instead of stalling CI.
class Watchdog {
 public:
  explicit Watchdog(unsigned seconds) { alarm(seconds); }
  ~Watchdog() { alarm(0); }
};

// A folder of its own for each test, removed afterwards.
class Scratch {
 public:
  Scratch() {
    dir_ = fs::temp_directory_path() / ("zav-changing-" + std::to_string(getpid()) + "-" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  ~Scratch() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }

 private:
  fs::path dir_;
};

void WriteBytes(const std::string& path, const std::string& bytes, std::ios::openmode mode = std::ios::trunc) {
  std::ofstream(path, std::ios::binary | mode) << bytes;
}

HostRun ImportOnEmptyList(const std::string& path) {
  zav::TheDiagnosticList().Clear();
  zav::testing::StartPlan({});
  return zav::testing::RunHost(path);
}

// Imports `path`, running `change` after the access test and before the read.
HostRun ImportWhileChanging(const std::string& path, const std::function<void()>& change) {
  zav::testing::AllocationPlan plan;
  plan.hookAt = 1;
  plan.hook = [](void* context) { (*static_cast<const std::function<void()>*>(context))(); };
  plan.context = const_cast<std::function<void()>*>(&change);
  zav::TheDiagnosticList().Clear();
  zav::testing::StartPlan(plan);
  HostRun run = zav::testing::RunHost(path);
  zav::testing::StartPlan({});
  return run;
}

const std::string kTwoModels =
    ".MODEL DA D(IS=1E-14 N=1.5)\n"
    ".MODEL QB NPN(BF=100 T_ABS=27)\n";
const std::string kFirstModel = ".MODEL DA D(IS=1E-14 N=1.5)\n";
const std::string kThirdModel = ".MODEL MC NMOS(LEVEL=1 L=1U)\n";

std::string CannotOpen(const std::string& path) { return "error -- Can't open file: " + path + " for reading.\n"; }

// The file's content changes: the import reads what is there at the read,
// exactly as an import of that content would.
TEST(ChangingFile, ImportReadsTheContentFoundAtTheRead) {
  const struct {
    const char* what;
    std::string changedTo;
    bool append;
  } kCases[] = {
      {"shrinks to its first model", kFirstModel, false},
      {"shrinks into the middle of a card", kTwoModels.substr(0, 40), false},
      {"shrinks to nothing", "", false},
      {"grows by a model", kThirdModel, true},
  };
  Scratch scratch;
  const std::string path = scratch.Path("changing.lib");
  for (const auto& c : kCases) {
    WriteBytes(path, c.append ? kTwoModels + c.changedTo : c.changedTo);
    const HostRun expected = ImportOnEmptyList(path);

    WriteBytes(path, kTwoModels);
    const HostRun run = ImportWhileChanging(path, [&] {
      WriteBytes(path, c.changedTo, c.append ? std::ios::app : std::ios::trunc);
    });
    EXPECT_EQ(run.importResult, 1) << c.what;
    EXPECT_EQ(run.importStatus, 0) << c.what;
    EXPECT_EQ(run.models, expected.models) << c.what;
    EXPECT_EQ(run.diagnostics, expected.diagnostics) << c.what;
    EXPECT_TRUE(run.unexpected.empty()) << c.what << ": " << run.unexpected;
  }
}

// The path no longer leads to a regular file when the reader opens it: the
// session is empty and says the file could not be opened, at once.
TEST(ChangingFile, PathThatStopsBeingARegularFileCannotBeOpened) {
  const struct {
    const char* what;
    std::function<void(const std::string&)> change;
  } kCases[] = {
      {"vanishes", [](const std::string& p) { fs::remove(p); }},
      {"becomes a FIFO without a writer",
       [](const std::string& p) {
         fs::remove(p);
         ASSERT_EQ(mkfifo(p.c_str(), 0600), 0);
       }},
      {"becomes a directory",
       [](const std::string& p) {
         fs::remove(p);
         fs::create_directory(p);
       }},
      {"becomes a link to /dev/zero",
       [](const std::string& p) {
         fs::remove(p);
         fs::create_symlink("/dev/zero", p);
       }},
  };
  Scratch scratch;
  for (const auto& c : kCases) {
    const std::string path = scratch.Path("replaced.lib");
    fs::remove_all(path);
    WriteBytes(path, kTwoModels);
    Watchdog watchdog(30);
    const HostRun run = ImportWhileChanging(path, [&] { c.change(path); });
    EXPECT_EQ(run.importResult, 1) << c.what;
    EXPECT_EQ(run.importStatus, 0) << c.what;
    EXPECT_TRUE(run.models.empty()) << c.what;
    EXPECT_EQ(run.diagnostics, std::vector<std::string>{CannotOpen(path)}) << c.what;
  }
}

// A file that shrinks or grows while it is being read: whatever the reader
// got, the import ends normally with texts the host can read.
TEST(ChangingFile, ChangeDuringTheReadEndsTheImportNormally) {
  std::string big;
  for (int i = 0; i < 4000; ++i) big += ".MODEL D" + std::to_string(i) + " D(IS=1E-14 N=1.5 RS=10)\n";
  Scratch scratch;
  const std::string path = scratch.Path("big.lib");
  const std::function<void()> kChanges[] = {
      [&] { fs::resize_file(path, 0); },
      [&] { WriteBytes(path, big, std::ios::app); },
  };
  for (const auto& change : kChanges) {
    WriteBytes(path, big);
    zav::testing::AllocationPlan plan;
    plan.hookAt = 40;  // the reader has begun by then
    plan.hook = [](void* context) { (*static_cast<const std::function<void()>*>(context))(); };
    plan.context = const_cast<std::function<void()>*>(&change);
    zav::TheDiagnosticList().Clear();
    zav::testing::StartPlan(plan);
    const HostRun run = zav::testing::RunHost(path);
    zav::testing::StartPlan({});
    EXPECT_EQ(run.importResult, 1);
    EXPECT_EQ(run.importStatus, 0);
    EXPECT_LE(run.models.size(), 8000u);
    EXPECT_TRUE(run.unexpected.empty()) << run.unexpected;
  }
}

// Only a regular file is a model file. Anything else is an unreadable path:
// status 2, nothing created, no diagnostic, and no wait for a FIFO's writer
// or for the end of a device that has none.
TEST(NonRegularPath, IsRejectedAtOnceWithStatus2) {
  Scratch scratch;
  const std::string fifo = scratch.Path("fifo.lib");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string socketPath = scratch.Path("socket.lib");
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(sock, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(socketPath.size(), sizeof address.sun_path);
  std::copy(socketPath.begin(), socketPath.end(), address.sun_path);
  ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  const std::string link = scratch.Path("zero.lib");
  fs::create_symlink("/dev/zero", link);
  const std::string directory = scratch.Path("folder.lib");
  fs::create_directory(directory);

  for (const std::string& path : {fifo, socketPath, link, directory, std::string("/dev/zero")}) {
    if (fs::is_regular_file(path)) continue;  // a sandbox may stand a plain file in for a device
    Watchdog watchdog(30);
    const HostRun run = ImportOnEmptyList(path);
    EXPECT_EQ(run.importResult, 0) << path;
    EXPECT_EQ(run.importStatus, 2) << path;
    EXPECT_TRUE(run.diagnostics.empty()) << path;
  }
  close(sock);

  // A link to a regular file is that file.
  const std::string target = scratch.Path("target.lib");
  WriteBytes(target, kTwoModels);
  const std::string toTarget = scratch.Path("link.lib");
  fs::create_symlink(target, toTarget);
  const HostRun run = ImportOnEmptyList(toTarget);
  EXPECT_EQ(run.importResult, 1);
  EXPECT_EQ(run.models.size(), 2u);
}

}  // namespace
