// zav-import -j N imports several files at once: whatever N, everything it
// writes must be what -j 1 writes, byte for byte, with each file's
// diagnostics together and the files in input order.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace zav::testing {
namespace {
namespace fs = std::filesystem;

// Files of unequal size and every kind of outcome, so that threads finish
// them out of order: a large one first, files with errors, warnings and
// infos, a clean one, one whose statement is rejected and one whose last
// line has no line feed.
void WriteTree(const ScratchDirectory& scratch) {
  std::string large;
  for (int i = 0; i < 4000; ++i) {
    const std::string n = std::to_string(i);
    large += ".MODEL Q" + n + " NPN(IS=1E-16 BF=100 VA=50 MFG=Zetex)\n";
    large += ".MODEL R" + n + " RES(R=1 TC1=0.001)\n";
  }
  scratch.Write("tree/a_large.lib", large);
  scratch.Write("tree/b_errors.lib", ".MODEL D1 D(FOO=1)\n.MODEL D2 D(IS=1 BAR=x)\n");
  scratch.Write("tree/c_clean.lib", ".MODEL D1 D(IS=1)\n");
  scratch.Write("tree/d_infos.lib",
                ".SUBCKT S a b\nC1 a b CM 1p\nR1 a b RM 1k\n.MODEL CM CAP(C=1 TC1=1E-3)\n.MODEL RM RES(R=1 TC2=2)\n.ENDS\n");
  scratch.Write("tree/e_rejected.lib", "X1 a b SUB\n.MODEL M1 NMOS(LEVEL=9)\n.MODEL J1 NJF(AKO:NONE)\n");
  // No line feed at its end: the next file's texts still start on a line of
  // their own, however the files were shared out.
  scratch.Write("tree/e_unended.lib", ".MODEL D7 D(IS=1 FOO=2)");
  for (int i = 0; i < 12; ++i) {
    scratch.Write("tree/sub/f" + std::to_string(i) + ".lib",
                  "* file " + std::to_string(i) + "\n.MODEL Q" + std::to_string(i) + " LPNP(BF=" + std::to_string(i + 1) +
                      " XYZ=1)\n.MODEL A" + std::to_string(i) + " AKO:Q" + std::to_string(i) + " PNP(IS=2)\n");
  }
}

std::vector<std::string> WithJobs(std::vector<std::string> args, int jobs) {
  args.insert(args.begin(), {"-j", std::to_string(jobs)});
  return args;
}

// Every file below `root`, with its bytes, in name order.
std::vector<std::pair<std::string, std::string>> Tree(const fs::path& root) {
  std::vector<std::pair<std::string, std::string>> files;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.emplace_back(entry.path().lexically_relative(root).string(), ReadBytes(entry.path()));
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(ZavImportJobs, WritesWhatOneJobWritesInEveryMode) {
  ScratchDirectory scratch;
  WriteTree(scratch);
  const std::vector<std::vector<std::string>> modes = {
      {"-r", "tree"},
      {"-r", "tree", "--summary"},
      {"-r", "tree", "--list"},
      {"-r", "tree", "--check", "--summary", "--diagnostics", "json"},
      {"-r", "tree", "--diagnostics", "native", "--fail-on", "warning"},
      {"-r", "tree", "-q", "--summary", "-o", "out"},
  };
  for (const std::vector<std::string>& mode : modes) {
    std::string shown;
    for (const std::string& arg : mode) shown += arg + " ";
    fs::remove_all(scratch.path() / "out");
    const RunResult one = RunZavImport(WithJobs(mode, 1), scratch.path());
    const auto oneTree = Tree(scratch.path() / "out");
    ASSERT_NE(one.exitCode, 2) << shown << one.err;
    for (int jobs : {2, 3, 16}) {
      fs::remove_all(scratch.path() / "out");
      const RunResult many = RunZavImport(WithJobs(mode, jobs), scratch.path());
      EXPECT_EQ(many.exitCode, one.exitCode) << shown << "-j " << jobs;
      EXPECT_EQ(many.out, one.out) << shown << "-j " << jobs;
      EXPECT_EQ(many.err, one.err) << shown << "-j " << jobs;
      EXPECT_EQ(Tree(scratch.path() / "out"), oneTree) << shown << "-j " << jobs;
    }
  }
}

TEST(ZavImportJobs, KeepsEachFilesDiagnosticsTogetherInInputOrder) {
  ScratchDirectory scratch;
  WriteTree(scratch);
  const RunResult run = RunZavImport({"-j", "4", "--check", "--color", "never", "-r", "tree"}, scratch.path());
  ASSERT_NE(run.exitCode, 2) << run.err;
  // Text diagnostics start with the file's path; input order is name order.
  std::vector<std::string> files;
  std::size_t at = 0;
  while (at < run.err.size()) {
    const std::size_t end = run.err.find('\n', at);
    const std::string line = run.err.substr(at, end - at);
    at = end == std::string::npos ? run.err.size() : end + 1;
    const std::size_t colon = line.find(':');
    if (line.rfind("tree/", 0) != 0 || colon == std::string::npos) continue;
    const std::string file = line.substr(0, colon);
    if (files.empty() || files.back() != file) files.push_back(file);
  }
  ASSERT_GE(files.size(), 3u) << run.err;
  std::vector<std::string> sorted = files;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(files, sorted) << run.err;
  EXPECT_EQ(std::unique(sorted.begin(), sorted.end()), sorted.end()) << "a file's diagnostics came apart:\n" << run.err;
}

TEST(ZavImportJobs, RefusesANumberOfJobsThatIsNone) {
  ScratchDirectory scratch;
  scratch.Write("a.lib", ".MODEL D1 D(IS=1)\n");
  for (const char* value : {"0", "x", "-1", ""}) {
    const RunResult run = RunZavImport({"-j", value, "a.lib"}, scratch.path());
    EXPECT_EQ(run.exitCode, 2) << value;
    EXPECT_NE(run.err.find("-j: "), std::string::npos) << value << ": " << run.err;
  }
}

}  // namespace
}  // namespace zav::testing
