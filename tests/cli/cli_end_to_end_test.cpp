// Runs the built zav-import the way an engineer does and checks what it
// writes, where, and how it exits.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "input_discovery.h"

namespace zav::testing {
namespace {
namespace fs = std::filesystem;

constexpr const char* kOneLib =
    "* first file\n"
    ".MODEL D1 D(IS=1 FOO=2)\n"
    ".MODEL D2 D(IS=1)\n"
    ".MODEL R1 RES(R=5)\n";
constexpr const char* kTwoLib =
    ".MODEL Q1 NPN(BAR=1)\n"
    ".MODEL Q2 NPN(GAMMA=1)\n";
constexpr const char* kCleanLib = ".MODEL D1 D(IS=1)\n";
constexpr const char* kWarningLib = ".MODEL R1 RES(R=5)\n";
constexpr const char* kErrorLib = ".MODEL D1 D(FOO=1)\n";
constexpr const char* kInfoLib =
    ".SUBCKT S a b\n"
    "C1 a b CM 1p\n"
    ".MODEL CM CAP(TC1=1E-3)\n"
    ".ENDS\n";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<fs::path> FilesBelow(const fs::path& root) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.push_back(entry.path().lexically_relative(root));
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The model texts and diagnostic texts of a golden .expected file.
struct Expected {
  std::string models;
  std::string diagnostics;
};

Expected ParseExpected(const std::string& text) {
  Expected expected;
  std::size_t at = 0;
  const std::string modelHeader = "==== model ";
  const std::string diagnosticsHeader = "==== diagnostics: ";
  while (text.compare(at, modelHeader.size(), modelHeader) == 0) {
    const std::size_t colon = text.find(": ", at);
    const std::size_t lineEnd = text.find('\n', at);
    const std::size_t bytes = std::stoul(text.substr(colon + 2, lineEnd - colon - 2));
    expected.models += text.substr(lineEnd + 1, bytes);
    at = lineEnd + 1 + bytes + 1;
  }
  if (text.compare(at, diagnosticsHeader.size(), diagnosticsHeader) == 0) {
    expected.diagnostics = text.substr(text.find('\n', at) + 1);
  }
  return expected;
}

// data/translate_example.out and .err are the standard output and error of
// "zav-import translate_example.lib" run in data/. When the translation
// changes on purpose, write them anew that way and read every line before
// keeping them.
TEST(ZavImport, TranslatesOneFileToStandardOutputExactly) {
  const fs::path data = ZAV_CLI_DATA_DIR;
  const RunResult run = RunZavImport({"translate_example.lib"}, data);
  EXPECT_EQ(run.out, ReadBytes(data / "translate_example.out"));
  EXPECT_EQ(run.err, ReadBytes(data / "translate_example.err"));
  EXPECT_EQ(run.exitCode, 1);  // the stray element card is an error
}

// Runs every golden case of `dir` through zav-import with `options` and
// compares standard output and error with its .expected file; the number of
// cases.
int RunGoldenCases(const fs::path& dir, const std::vector<std::string>& options) {
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const fs::path input = entry.path();
    if (input.extension() == ".expected" || input.extension() == ".md" || input.extension() == ".cpp") continue;
    fs::path expectedPath = input;
    expectedPath.replace_extension(".expected");
    if (!fs::exists(expectedPath)) continue;
    const Expected expected = ParseExpected(ReadBytes(expectedPath));
    std::vector<std::string> args = options;
    args.insert(args.end(), {"--diagnostics=native", "--fail-on=never", input.filename().string()});
    const RunResult run = RunZavImport(args, input.parent_path());
    EXPECT_EQ(run.exitCode, 0) << input;
    EXPECT_EQ(run.out, expected.models) << input;
    EXPECT_EQ(run.err, expected.diagnostics) << input;
    ++cases;
  }
  return cases;
}

TEST(ZavImport, GivesTheLibraryTextsOfEveryGoldenCase) {
  if (RunGoldenCases(ZAV_GOLDEN_DIR, {}) == 0) GTEST_SKIP() << "no golden cases yet";
}

TEST(ZavImport, TranslatesEveryNgspiceGoldenCaseWithTargetNgspice) {
  const fs::path dir = fs::path(ZAV_GOLDEN_DIR) / ".." / "ngspice_golden";
  EXPECT_GT(RunGoldenCases(dir, {"--target=ngspice"}), 0);
  // --target=host is the default: the host's cases come out the same with it.
  RunGoldenCases(ZAV_GOLDEN_DIR, {"--target", "host"});
}

TEST(ZavImport, MirrorsADirectoryTreeIntoTheOutputDirectory) {
  ScratchDirectory scratch;
  scratch.Write("in/a.lib", kOneLib);
  scratch.Write("in/sub/B.MOD", kTwoLib);
  scratch.Write("in/sub/deeper/c.Cir", kCleanLib);
  scratch.Write("in/notes.doc", "notes on the models, none of them here\n");
  scratch.Write("in/sub/README", "* a comment line\n.PARAM X=1\n");

  const RunResult run = RunZavImport({"-q", "-r", "in", "-o", "out"}, scratch.path());
  ASSERT_EQ(run.exitCode, 1) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(FilesBelow(scratch.path() / "out"),
            (std::vector<fs::path>{"a.lib", "sub/B.MOD", "sub/deeper/c.Cir"}));  // no temporary file left
  for (const char* name : {"a.lib", "sub/B.MOD", "sub/deeper/c.Cir"}) {
    const RunResult single = RunZavImport({"-q", fs::path("in") / name}, scratch.path());
    EXPECT_EQ(ReadBytes(scratch.path() / "out" / name), single.out) << name;
  }

  // Several inputs keep their own names at the top of the output directory.
  const RunResult several = RunZavImport({"-q", "-r", "-o", "out2", "in/a.lib", "in/sub"}, scratch.path());
  ASSERT_EQ(several.exitCode, 1) << several.err;
  EXPECT_EQ(FilesBelow(scratch.path() / "out2"),
            (std::vector<fs::path>{"a.lib", "sub/B.MOD", "sub/deeper/c.Cir"}));
}

TEST(ZavImport, OutputDirectoryInsideTheTreeIsNotReadBack) {
  ScratchDirectory scratch;
  scratch.Write("lib/a.lib", kCleanLib);
  for (int run = 0; run < 2; ++run) {
    const RunResult result = RunZavImport({"-r", "lib", "-o", "lib/converted"}, scratch.path());
    ASSERT_EQ(result.exitCode, 0) << result.err;
  }
  EXPECT_EQ(FilesBelow(scratch.path() / "lib"), (std::vector<fs::path>{"a.lib", "converted/a.lib"}));
}

TEST(ZavImport, AttributesDiagnosticsToTheirOwnFileInEveryFormat) {
  ScratchDirectory scratch;
  scratch.Write("one.lib", kOneLib);
  scratch.Write("two.lib", kTwoLib);

  const RunResult text = RunZavImport({"one.lib", "two.lib"}, scratch.path());
  EXPECT_EQ(text.err,
            "one.lib:2: error: \"FOO\" is not a recognized model parameter. It will be converted to a comment\n"
            "one.lib:4: warning: \"R\" is not a supported model parameter. It will be converted to a comment\n"
            "two.lib:1: error: \"BAR\" is not a recognized model parameter. It will be converted to a comment\n"
            "two.lib:2: warning: \"GAMMA\" is not a supported model parameter. It will be converted to a comment\n");

  const RunResult native = RunZavImport({"--diagnostics=native", "one.lib", "two.lib"}, scratch.path());
  const RunResult nativeOne = RunZavImport({"--diagnostics=native", "one.lib"}, scratch.path());
  const RunResult nativeTwo = RunZavImport({"--diagnostics=native", "two.lib"}, scratch.path());
  EXPECT_EQ(native.err, nativeOne.err + nativeTwo.err);
  EXPECT_EQ(nativeOne.err.rfind("Line 2:\n\t.MODEL D1 D(IS=1 FOO=2)\nerror -- ", 0), 0u) << nativeOne.err;

  const RunResult json = RunZavImport({"--diagnostics=json", "one.lib", "two.lib"}, scratch.path());
  const std::vector<std::string> objects = Lines(json.err);
  ASSERT_EQ(objects.size(), 4u) << json.err;
  struct Want {
    const char* file;
    int line;
    const char* severity;
    int code;
  };
  const Want wants[] = {{"one.lib", 2, "error", 24}, {"one.lib", 4, "warning", 23},
                        {"two.lib", 1, "error", 24}, {"two.lib", 2, "warning", 23}};
  for (std::size_t i = 0; i < objects.size(); ++i) {
    const nlohmann::json object = nlohmann::json::parse(objects[i]);
    EXPECT_EQ(object["file"], wants[i].file) << objects[i];
    EXPECT_EQ(object["line"], wants[i].line) << objects[i];
    EXPECT_EQ(object["severity"], wants[i].severity) << objects[i];
    EXPECT_EQ(object["code"], wants[i].code) << objects[i];
  }

  for (int exitCode : {text.exitCode, native.exitCode, json.exitCode}) EXPECT_EQ(exitCode, 1);
  const RunResult quiet = RunZavImport({"-q", "one.lib", "two.lib"}, scratch.path());
  EXPECT_EQ(quiet.err, "");
  EXPECT_EQ(quiet.out, text.out);
}

TEST(ZavImport, ExitStatusFollowsTheWorstDiagnosticAndFailOn) {
  ScratchDirectory scratch;
  scratch.Write("clean.lib", kCleanLib);
  scratch.Write("info.lib", kInfoLib);
  scratch.Write("warning.lib", kWarningLib);
  scratch.Write("error.lib", kErrorLib);
  struct Case {
    std::vector<std::string> args;
    int exitCode;
  };
  const Case cases[] = {
      {{"clean.lib"}, 0},
      {{"--fail-on=warning", "clean.lib"}, 0},
      {{"--fail-on=warning", "info.lib"}, 0},
      {{"warning.lib"}, 0},
      {{"--fail-on=warning", "warning.lib"}, 1},
      {{"--fail-on=never", "warning.lib"}, 0},
      {{"error.lib"}, 1},
      {{"-q", "error.lib"}, 1},
      {{"--fail-on=warning", "error.lib"}, 1},
      {{"--fail-on=never", "error.lib"}, 0},
      {{"--fail-on=never", "missing.lib"}, 2},
      {{"error.lib", "missing.lib"}, 2},
      {{}, 0},  // standard input, here empty, is the input
      {{"--bogus", "clean.lib"}, 2},
      {{"--fail-on=sometimes", "clean.lib"}, 2},
      {{"--diagnostics=xml", "clean.lib"}, 2},
      {{"--list", "-o", "out.lib", "clean.lib"}, 2},
      {{"--help"}, 0},
      {{"--version"}, 0},
  };
  for (const Case& c : cases) {
    const RunResult run = RunZavImport(c.args, scratch.path());
    std::string joined;
    for (const std::string& arg : c.args) joined += arg + " ";
    EXPECT_EQ(run.exitCode, c.exitCode) << joined << "\n" << run.err;
  }
}

TEST(ZavImport, HelpShowsExamplesAndVersionNamesTheProgram) {
  ScratchDirectory scratch;
  const RunResult help = RunZavImport({"--help"}, scratch.path());
  EXPECT_NE(help.out.find("Examples:"), std::string::npos);
  EXPECT_NE(help.out.find("--fail-on"), std::string::npos);
  const RunResult version = RunZavImport({"--version"}, scratch.path());
  EXPECT_EQ(version.out.rfind("zav-import ", 0), 0u) << version.out;
}

TEST(ZavImport, RefusesAnOutputThatIsAnInput) {
  ScratchDirectory scratch;
  const fs::path input = scratch.Write("lib/a.lib", kWarningLib);
  fs::create_symlink("a.lib", scratch.path() / "lib/link.lib");
  fs::create_hard_link(input, scratch.path() / "hard.lib");
  fs::create_directory_symlink("lib", scratch.path() / "alias");
  const std::vector<std::vector<std::string>> attempts = {
      {"-o", "lib/a.lib", "lib/a.lib"},
      {"-o", "lib/../lib/./a.lib", "lib/a.lib"},
      {"-o", "lib/link.lib", "lib/a.lib"},
      {"-o", "hard.lib", "lib/a.lib"},
      {"-r", "-o", "lib", "lib"},
      {"-o", ".", "lib/a.lib", "hard.lib"},
      {"-o", "alias/a.lib", "lib/a.lib"},
      {"-r", "-o", "alias", "lib"},
  };
  for (const std::vector<std::string>& args : attempts) {
    const RunResult run = RunZavImport(args, scratch.path());
    EXPECT_EQ(run.exitCode, 2) << args[1];
    EXPECT_NE(run.err.find("input"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(input), kWarningLib) << args[1];
  }
  EXPECT_EQ(FilesBelow(scratch.path()), (std::vector<fs::path>{"hard.lib", "lib/a.lib", "lib/link.lib"}));
}

TEST(ZavImport, ReportsAnUnreadableInputAndConvertsTheRest) {
  ScratchDirectory scratch;
  scratch.Write("good.lib", kCleanLib);
  scratch.Write("folder/x.lib", kCleanLib);
  const RunResult run = RunZavImport({"missing.lib", "folder", "good.lib"}, scratch.path());
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.err.find("cannot read missing.lib: No such file or directory"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("cannot read folder: is a directory"), std::string::npos) << run.err;
  EXPECT_EQ(run.out, kCleanLib);
}

TEST(ZavImport, ReportsAnOutputThatCannotBeWritten) {
  ScratchDirectory scratch;
  scratch.Write("a.lib", kCleanLib);
  scratch.Write("b.lib", kCleanLib);
  scratch.Write("blocker", "a file where a directory is needed\n");
  const std::vector<std::vector<std::string>> attempts = {
      {"-o", "blocker/out.lib", "a.lib"},
      {"-o", "blocker/out", "a.lib", "b.lib"},
  };
  for (const std::vector<std::string>& args : attempts) {
    const RunResult run = RunZavImport(args, scratch.path());
    EXPECT_EQ(run.exitCode, 2) << args[1];
    EXPECT_NE(run.err.find("blocker"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("Not a directory"), std::string::npos) << run.err;
  }
  EXPECT_EQ(FilesBelow(scratch.path()), (std::vector<fs::path>{"a.lib", "b.lib", "blocker"}));
}

TEST(ZavImport, ListsModelsWithTheirKindAndLine) {
  const fs::path data = ZAV_CLI_DATA_DIR;
  const RunResult one = RunZavImport({"--list", "translate_example.lib"}, data);
  EXPECT_EQ(one.out,
            "DFAST\tD\t2\tpartial (0 cards, 1 parameter commented out)\n"
            "QLAT\tLPNP\t3\tcomplete\n"
            "RLOAD\tRES\t6\tpartial (0 cards, 1 parameter commented out)\n"
            "FILTER\tsubckt\t7\tpartial (0 cards, 1 parameter commented out)\n"
            "SW1\tVSWITCH\t12\tcomplete\n");

  ScratchDirectory scratch;
  scratch.Write("two.lib", kTwoLib);
  scratch.Write("info.lib", kInfoLib);
  const RunResult several = RunZavImport({"--list", "-q", "two.lib", "info.lib"}, scratch.path());
  EXPECT_EQ(several.out,
            "two.lib\tQ1\tNPN\t1\tpartial (0 cards, 1 parameter commented out)\n"
            "two.lib\tQ2\tNPN\t2\tpartial (0 cards, 1 parameter commented out)\n"
            "info.lib\tS\tsubckt\t1\tcomplete\n");
}

TEST(ZavImport, FindsModelFilesByExtensionOrContent) {
  ScratchDirectory scratch;
  std::string late(9000, '*');
  late += "\n.MODEL D1 D(IS=1)\n";
  struct Case {
    const char* name;
    std::string content;
    const char* reason;  // null: not taken
  };
  const std::vector<Case> cases = {
      {"a.FAM", "* no card needed\n", "extension .FAM"},
      {"b.Sp3", "", "extension .Sp3"},
      {"c.net", kCleanLib, "extension .net"},
      {"deep/MODELS", "* vendor\n\n.subckt AMP 1 2\n.ends\n", "content: .SUBCKT card on line 3"},
      {"notes.doc", std::string("  \t.Model X D\r\n"), "content: .MODEL card on line 1"},
      {"x.foo", "plain text\n", "extension .foo"},
      {"y.BAR", "plain text\n", "extension .BAR"},
      {"binary.dat", std::string(".MODEL D1 D\n\0\n", 14), nullptr},
      {"late.dat", late, nullptr},
      {"prose.txt2", "The .MODEL card comes first.\n.MODELS are listed below\n* .SUBCKT X\n", nullptr},
      {"empty", "", nullptr},
  };
  std::string want;
  std::vector<fs::path> taken;
  for (const Case& c : cases) {
    scratch.Write(std::string("tree/") + c.name, c.content);
    if (c.reason != nullptr) taken.push_back(c.name);
  }
  std::sort(taken.begin(), taken.end());
  for (const fs::path& name : taken) {
    for (const Case& c : cases) {
      if (name == c.name) want += (fs::path("tree") / name).string() + "\t" + c.reason + "\n";
    }
  }

  const RunResult listed = RunZavImport({"-r", "--ext", "foo,.bar", "--list-files", "tree"}, scratch.path());
  EXPECT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_EQ(listed.out, want);
  EXPECT_FALSE(fs::exists(scratch.path() / "out"));

  const RunResult converted = RunZavImport({"-q", "-r", "--ext=foo", "--ext=BAR", "tree", "-o", "out"}, scratch.path());
  EXPECT_NE(converted.exitCode, 2) << converted.err;
  EXPECT_EQ(FilesBelow(scratch.path() / "out"), taken);

  // A file named on the command line is taken whatever it holds.
  const RunResult named = RunZavImport({"--list-files", "tree/late.dat"}, scratch.path());
  EXPECT_EQ(named.out, "tree/late.dat\tnamed on the command line\n");
}

TEST(ZavImport, SaysWhichModelsLostCodeAndWhereEachDiagnosticBelongs) {
  ScratchDirectory scratch;
  scratch.Write("p.lib",
                "R0 1 2 1k\n"                     // a stray card before the subcircuit: no model's
                ".SUBCKT AMP in out\n"
                ".PARAM G=1\n"                    // turned into a comment
                "G1 out 0 VALUE={V(in)*G}\n"      // turned into a comment
                "R1 in out 1k\n"
                ".ENDS AMP\n"
                ".MODEL DZ D(IS=1 FOO=2\n"
                "+ BAR=3)\n"
                ".MODEL DOK D(IS=1)\n");
  const RunResult listed = RunZavImport({"--list", "-q", "p.lib"}, scratch.path());
  EXPECT_EQ(listed.out,
            "AMP\tsubckt\t2\tpartial (2 cards, 0 parameters commented out)\n"
            "DZ\tD\t7\tpartial (0 cards, 2 parameters commented out)\n"
            "DOK\tD\t9\tcomplete\n");

  const RunResult json = RunZavImport({"--diagnostics=json", "p.lib"}, scratch.path());
  std::vector<std::pair<int, nlohmann::json>> models;
  for (const std::string& line : Lines(json.err)) {
    const nlohmann::json object = nlohmann::json::parse(line);
    models.emplace_back(object["line"].get<int>(), object["model"]);
  }
  const std::vector<std::pair<int, nlohmann::json>> want = {
      {1, nullptr}, {3, "AMP"}, {4, "AMP"}, {4, "AMP"}, {7, "DZ"}, {8, "DZ"}};
  EXPECT_EQ(models, want) << json.err;

  const RunResult summary = RunZavImport({"--summary", "-q", "p.lib", "p.lib"}, scratch.path());
  const std::vector<std::string> rows = Lines(summary.err);
  ASSERT_EQ(rows.size(), 4u) << summary.err;
  EXPECT_NE(rows[0].find("  partial"), std::string::npos) << rows[0];
  const auto lastColumn = [](const std::string& row) { return row.substr(row.find_last_of(' ') + 1); };
  EXPECT_EQ(lastColumn(rows[1]), "2") << rows[1];
  EXPECT_EQ(lastColumn(rows[3]), "4") << rows[3];
}

TEST(ZavImport, SummaryCountsPerFileAndInTotal) {
  const fs::path data = ZAV_CLI_DATA_DIR;
  const RunResult run = RunZavImport({"--summary", "-q", "translate_example.lib", "translate_example.lib"}, data);
  const std::vector<std::string> lines = Lines(run.err);
  ASSERT_EQ(lines.size(), 4u) << run.err;
  EXPECT_EQ(lines[0].rfind("file ", 0), 0u);
  auto numbers = [](const std::string& line) {
    std::istringstream in(line);
    std::vector<int> values;
    for (std::string word; in >> word;) {
      if (std::all_of(word.begin(), word.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        values.push_back(std::stoi(word));
      }
    }
    return values;
  };
  // models, subckts, cards commented, info, warnings, errors, renamed, moved, params commented, partial
  const std::vector<int> perFile = {4, 1, 1, 2, 3, 1, 4, 2, 3, 3};
  EXPECT_EQ(numbers(lines[1]), perFile) << lines[1];
  EXPECT_EQ(numbers(lines[2]), perFile) << lines[2];
  std::vector<int> total = perFile;
  for (int& value : total) value *= 2;
  EXPECT_EQ(lines[3].rfind("total (2 files)", 0), 0u) << lines[3];
  EXPECT_EQ(numbers(lines[3]), total) << lines[3];
}

TEST(ZavImport, DrawsProgressOnlyWhenAsked) {
  ScratchDirectory scratch;
  scratch.Write("clean.lib", kCleanLib);
  const RunResult asked = RunZavImport({"--progress", "clean.lib"}, scratch.path());
  EXPECT_NE(asked.err.find("1/1 files"), std::string::npos) << asked.err;
  const RunResult piped = RunZavImport({"clean.lib"}, scratch.path());
  EXPECT_EQ(piped.err, "");
}

TEST(ZavImport, ConvertsTheWholeCorpus) {
  const fs::path corpus = ZAV_CORPUS_DIR;
  if (!fs::exists(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  ScratchDirectory scratch;
  const RunResult run = RunZavImport({"-q", "--summary", "-r", corpus.string(), "-o", "out"}, scratch.path());
  ASSERT_NE(run.exitCode, 2) << run.err;
  EXPECT_NE(run.err.find("total ("), std::string::npos) << run.err;
  int converted = 0;
  for (const auto& entry : fs::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file() || !zav::cli::HasModelFileExtension(entry.path())) continue;
    EXPECT_TRUE(fs::exists(scratch.path() / "out" / entry.path().lexically_relative(corpus))) << entry.path();
    ++converted;
  }
  EXPECT_GT(converted, 0);
}

}  // namespace
}  // namespace zav::testing
