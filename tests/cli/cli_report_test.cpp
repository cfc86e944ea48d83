// zav-import --report DIR: written in addition to what every output mode
// writes, which stays byte for byte what it was; refused where it cannot be
// written or would replace an input.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cli_runner.h"

namespace zav::testing {
namespace {
namespace fs = std::filesystem;

constexpr const char* kOneLib = "* one\n.MODEL D1 D(IS=1 FOO=2)\n.MODEL Q1 LPNP(VA=3)\n";
constexpr const char* kTwoLib = ".MODEL R1 RES(R=5)\n";

std::vector<std::string> FilesBelow(const fs::path& root) {
  std::vector<std::string> files;
  if (!fs::exists(root)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.push_back(entry.path().lexically_relative(root).generic_string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(ZavImportReport, IsWrittenInAdditionToWhatEachModeWrites) {
  struct Mode {
    const char* what;
    std::vector<std::string> args;
  };
  const std::vector<Mode> modes = {
      {"texts to standard output", {}},    {"texts to files", {"-o", "out"}},
      {"model list", {"--list"}},          {"dump", {"--dump"}},
      {"check", {"--check", "--summary"}}, {"json diagnostics", {"--diagnostics=json", "--fail-on=never"}},
  };
  for (const Mode& mode : modes) {
    SCOPED_TRACE(mode.what);
    ScratchDirectory plain;
    ScratchDirectory reported;
    for (const ScratchDirectory* scratch : {&plain, &reported}) {
      scratch->Write("one.lib", kOneLib);
      scratch->Write("two.lib", kTwoLib);
    }
    std::vector<std::string> args = mode.args;
    args.insert(args.end(), {"one.lib", "two.lib"});
    const RunResult without = RunZavImport(args, plain.path());
    args.insert(args.end(), {"--report", "review"});
    const RunResult with = RunZavImport(args, reported.path());

    EXPECT_EQ(with.exitCode, without.exitCode);
    EXPECT_EQ(with.out, without.out);
    EXPECT_EQ(with.err, without.err);
    EXPECT_EQ(FilesBelow(reported.path() / "out"), FilesBelow(plain.path() / "out"));
    for (const std::string& file : FilesBelow(plain.path() / "out")) {
      EXPECT_EQ(ReadBytes(reported.path() / "out" / file), ReadBytes(plain.path() / "out" / file)) << file;
    }
    EXPECT_EQ(FilesBelow(reported.path() / "review"),
              (std::vector<std::string>{"files/0001-one.lib.html", "files/0002-two.lib.html", "index.html"}));
    const std::string index = ReadBytes(reported.path() / "review" / "index.html");
    EXPECT_NE(index.find("<a href=\"files/0001-one.lib.html\">one.lib</a>"), std::string::npos);
    EXPECT_NE(index.find("<a href=\"files/0002-two.lib.html\">two.lib</a>"), std::string::npos);
  }
}

TEST(ZavImportReport, WithCheckIsAllThatIsWritten) {
  ScratchDirectory scratch;
  scratch.Write("lib/one.lib", kOneLib);
  const RunResult result = RunZavImport({"--check", "-q", "-r", "lib", "--report", "review"}, scratch.path());
  EXPECT_EQ(result.exitCode, 1);  // the error about FOO
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(FilesBelow(scratch.path()),
            (std::vector<std::string>{"lib/one.lib", "review/files/0001-one.lib.html", "review/index.html"}));
  const std::string page = ReadBytes(scratch.path() / "review/files/0001-one.lib.html");
  EXPECT_NE(page.find("<h1>lib/one.lib</h1>"), std::string::npos);
  EXPECT_NE(page.find("<a href=\"../index.html\">"), std::string::npos);
}

TEST(ZavImportReport, InsideTheTreeIsNotTakenForModelFilesLater) {
  ScratchDirectory scratch;
  // Lines of the output that start like cards, deep in a row of the page.
  scratch.Write("lib/one", std::string(kOneLib) + ".MODEL Q2 LPNP(VA=1)\n+ BF=2\n.SUBCKT S A B\n.ENDS\n");
  EXPECT_EQ(RunZavImport({"--check", "-q", "-r", "lib", "--report", "lib/review"}, scratch.path()).exitCode, 1);
  const RunResult listed = RunZavImport({"--list-files", "-r", "lib"}, scratch.path());
  EXPECT_EQ(listed.out, "lib/one\tcontent: .MODEL card on line 2\n");
}

TEST(ZavImportReport, NamesStandardInputAndListsWhatCouldNotBeRead) {
  ScratchDirectory scratch;
  RunRequest request;
  request.args = {"-q", "--report", "review", "-", "missing.lib"};
  request.directory = scratch.path();
  request.input = kTwoLib;
  const RunResult result = RunWith(request);
  EXPECT_EQ(result.exitCode, 2);
  EXPECT_EQ(result.out, ".MODEL R1 R\n* R=5)\n");
  const std::string page = ReadBytes(scratch.path() / "review/files/0001-stdin_.html");
  EXPECT_NE(page.find("<h1>&lt;stdin&gt;</h1>"), std::string::npos);
  const std::string index = ReadBytes(scratch.path() / "review/index.html");
  EXPECT_NE(index.find("<td>missing.lib</td><td class=\"unread\" colspan=\"12\">not read: No such file or directory"),
            std::string::npos);
  EXPECT_FALSE(fs::exists(scratch.path() / "review/files/0002-missing.lib.html"));
}

TEST(ZavImportReport, RefusesWhatItCannotWrite) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string error;
  };
  const std::vector<Case> cases = {
      {"with --list-files",
       {"--list-files", "-r", ".", "--report", "review"},
       "zav-import: --list-files and --report cannot be used together\n"},
      {"without a folder", {"one.lib", "--report"}, "zav-import: --report: no value given; it needs a DIR\n"},
      {"a file in the way",
       {"one.lib", "--report", "one.lib"},
       "zav-import: cannot make the report folder one.lib/files: "},
      {"over an input",
       {"review/index.html", "--report", "review"},
       "zav-import: --report: the report page review/index.html would replace an input\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchDirectory scratch;
    scratch.Write("one.lib", kOneLib);
    scratch.Write("review/index.html", kTwoLib);
    const RunResult result = RunZavImport(c.args, scratch.path());
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.substr(0, c.error.size()), c.error);
    EXPECT_EQ(ReadBytes(scratch.path() / "one.lib"), kOneLib);
    EXPECT_EQ(ReadBytes(scratch.path() / "review/index.html"), kTwoLib);
  }
}

TEST(ZavImportReport, CoversTheWholeCorpus) {
  const fs::path corpus = ZAV_CORPUS_DIR;
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  ScratchDirectory scratch;
  const RunResult plain = RunZavImport({"--check", "-q", "-r", corpus.string()}, scratch.path());
  const RunResult result = RunZavImport({"--check", "-q", "-r", corpus.string(), "--report", "review"}, scratch.path());
  EXPECT_EQ(result.exitCode, plain.exitCode);
  EXPECT_EQ(result.err, "");
  const std::vector<std::string> files = FilesBelow(scratch.path() / "review");
  EXPECT_GT(files.size(), 30u);
  const std::string index = ReadBytes(scratch.path() / "review/index.html");
  for (const std::string& file : files) {
    if (file == "index.html") continue;
    EXPECT_NE(index.find("href=\"" + file + "\""), std::string::npos) << file;
    const std::string page = ReadBytes(scratch.path() / "review" / file);
    EXPECT_EQ(page.substr(page.size() - 8), "</html>\n") << file;
  }
}

}  // namespace
}  // namespace zav::testing
