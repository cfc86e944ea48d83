// zav-import among other Unix tools: a filter on standard input, a check
// mode, colours, plain option errors, and a manual page and completion that
// know every option.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli_runner.h"

namespace zav::testing {
namespace {
namespace fs = std::filesystem;

constexpr const char* kErrorLib = ".MODEL D1 D(IS=1 FOO=2)\n";
constexpr const char* kErrorLibOut = ".MODEL D1 D(IS=1\n* FOO=2)\n";
constexpr const char* kErrorText =
    "error: \"FOO\" is not a recognized model parameter. It will be converted to a comment\n";
constexpr const char* kCleanLib = ".MODEL D2 D(IS=1)\n";
// One diagnostic of each severity: error (line 1), info (line 4, twice),
// warning (line 6).
constexpr const char* kMixedLib =
    "R0 1 2 1k\n"
    ".SUBCKT S a b\n"
    "C1 a b CM 1p\n"
    ".MODEL CM CAP(TC1=1E-3)\n"
    ".ENDS\n"
    ".MODEL R1 RES(R=5)\n";
constexpr const char* kHelpPointer = "Run 'zav-import --help' to see every option and its values.\n";

std::string WithCrlf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

std::vector<fs::path> FilesBelow(const fs::path& root) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) files.push_back(entry.path().lexically_relative(root));
  }
  std::sort(files.begin(), files.end());
  return files;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// --- filter ---------------------------------------------------------------

TEST(ZavImportFilter, ReadsACrLfPipeExactlyLikeTheFileItself) {
  int cases = 0;
  for (const auto& entry : fs::directory_iterator(ZAV_GOLDEN_DIR)) {
    const fs::path input = entry.path();
    if (input.extension() == ".expected" || input.extension() == ".md" || input.extension() == ".cpp") continue;
    const std::vector<std::string> options = {"--diagnostics=native", "--fail-on=never"};
    std::vector<std::string> fromFile = options;
    fromFile.push_back(input.filename().string());
    const RunResult file = RunZavImport(fromFile, input.parent_path());

    RunRequest piped;
    piped.args = options;
    piped.args.push_back("-");
    piped.directory = input.parent_path();
    piped.input = WithCrlf(ReadBytes(input));
    const RunResult pipe = RunWith(piped);
    EXPECT_EQ(pipe.exitCode, 0) << input;
    EXPECT_EQ(pipe.out, file.out) << input;
    EXPECT_EQ(pipe.err, file.err) << input;
    ++cases;
  }
  EXPECT_GT(cases, 0);
}

TEST(ZavImportFilter, NamesStandardInputStdinAndLeavesNoTemporaryFile) {
  ScratchDirectory scratch;
  const fs::path temporary = scratch.path() / "tmp";
  fs::create_directories(temporary);
  scratch.Write("clean.lib", kCleanLib);
  struct Case {
    std::vector<std::string> args;
    std::string out;
    std::string errPart;
  };
  const std::vector<Case> cases = {
      {{"-"}, kErrorLibOut, std::string("<stdin>:1: ") + kErrorText},
      {{}, kErrorLibOut, std::string("<stdin>:1: ") + kErrorText},  // not a terminal: read it
      {{"--list", "-"}, "D1\tD\t1\tpartial (0 cards, 1 parameter commented out)\n", "<stdin>:1: error"},
      {{"--diagnostics=json", "-"}, kErrorLibOut, R"({"file":"<stdin>","line":1,"model":"D1","severity":"error")"},
      {{"--summary", "-q", "-"}, kErrorLibOut, "\n<stdin>   "},
      {{"-q", "clean.lib", "-"}, std::string(kCleanLib) + kErrorLibOut, ""},
      {{"--list", "-q", "clean.lib", "-"}, "clean.lib\tD2\tD\t1\tcomplete\n<stdin>\tD1\tD\t1\tpartial (0 cards, 1 parameter commented out)\n", ""},
      {{"-o", "out.lib", "-"}, "", "<stdin>:1: error"},
      {{"-r", "--list-files", "-"}, "<stdin>\tstandard input\n", ""},
  };
  for (const Case& c : cases) {
    RunRequest request;
    request.args = c.args;
    request.directory = scratch.path();
    request.input = kErrorLib;
    request.environment = {{"TMPDIR", temporary.string()}};
    const RunResult run = RunWith(request);
    std::string joined;
    for (const std::string& arg : c.args) joined += arg + " ";
    EXPECT_EQ(run.out, c.out) << joined;
    EXPECT_TRUE(Contains(run.err, c.errPart)) << joined << "\n" << run.err;
    EXPECT_NE(run.exitCode, 2) << joined << "\n" << run.err;
    EXPECT_TRUE(fs::is_empty(temporary)) << joined;
  }
  EXPECT_EQ(ReadBytes(scratch.path() / "out.lib"), kErrorLibOut);
}

TEST(ZavImportFilter, RemovesItsTemporaryFileWhenTheOutputPipeBreaks) {
  ScratchDirectory scratch;
  const fs::path temporary = scratch.path() / "tmp";
  fs::create_directories(temporary);
  std::string big;
  for (int i = 0; i < 5000; ++i) big += ".MODEL D" + std::to_string(i) + " D(IS=1 RS=2 N=1.5 CJO=4p)\n";
  RunRequest request;
  request.args = {"-q", "-"};
  request.directory = scratch.path();
  request.input = big;
  request.environment = {{"TMPDIR", temporary.string()}};
  request.closedOutputPipe = true;  // zav-import - | head, after head has finished
  const RunResult run = RunWith(request);
  EXPECT_EQ(run.signal, SIGPIPE) << run.exitCode << "\n" << run.err;
  EXPECT_TRUE(fs::is_empty(temporary));
}

TEST(ZavImportFilter, RemovesItsTemporaryFileWhenTerminated) {
  ScratchDirectory scratch;
  const fs::path temporary = scratch.path() / "tmp";
  fs::create_directories(temporary);
  int input[2];
  ASSERT_EQ(::pipe(input), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::dup2(input[0], 0);
    ::close(input[1]);
    const int devNull = ::open("/dev/null", O_WRONLY);
    ::dup2(devNull, 1);
    ::dup2(devNull, 2);
    ::setenv("TMPDIR", temporary.c_str(), 1);
    ::execl(ZAV_IMPORT_BINARY, ZAV_IMPORT_BINARY, "-", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(input[0]);
  // Half a card, and the pipe stays open: zav-import waits for the rest
  // with its temporary file made.
  ASSERT_EQ(::write(input[1], ".MODEL D1 ", 10), 10);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (fs::is_empty(temporary) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_FALSE(fs::is_empty(temporary)) << "no temporary file appeared";
  ::kill(child, SIGTERM);
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(input[1]);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
  EXPECT_TRUE(fs::is_empty(temporary));
}

TEST(ZavImportFilter, WritesIntoADeviceOrAPipeInsteadOfReplacingIt) {
  ScratchDirectory scratch;
  scratch.Write("e.lib", kErrorLib);
  // -o /dev/null, on a null device of the test's own.
  const fs::path null = scratch.path() / "null";
  if (::mknod(null.c_str(), S_IFCHR | 0666, ::makedev(1, 3)) == 0) {
    const RunResult run = RunZavImport({"-q", "-o", "null", "e.lib"}, scratch.path());
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_TRUE(fs::is_character_file(null));
  }
  // -o FIFO: the test holds both ends, so nothing waits for a reader.
  const fs::path fifo = scratch.path() / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const int end = ::open(fifo.c_str(), O_RDWR | O_NONBLOCK);
  ASSERT_GE(end, 0);
  const RunResult run = RunZavImport({"-q", "-o", "fifo", "e.lib"}, scratch.path());
  EXPECT_EQ(run.exitCode, 1) << run.err;
  EXPECT_TRUE(fs::is_fifo(fifo));
  char buffer[256];
  const ssize_t got = ::read(end, buffer, sizeof buffer);
  ::close(end);
  EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(std::max<ssize_t>(got, 0))), kErrorLibOut);
}

// --- check mode -----------------------------------------------------------

TEST(ZavImportCheck, TranslatesAndReportsButWritesNoModelText) {
  ScratchDirectory scratch;
  scratch.Write("tree/a.lib", kErrorLib);
  scratch.Write("tree/sub/b.mod", kCleanLib);
  scratch.Write("tree/sub/r.cir", ".MODEL R1 RES(R=5)\n");
  const std::vector<fs::path> before = FilesBelow(scratch.path());
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::string errPart;
  };
  const std::vector<Case> cases = {
      {{"--check", "tree/a.lib"}, 1, std::string("tree/a.lib:1: ") + kErrorText},
      {{"--check", "--fail-on=never", "tree/a.lib"}, 0, "tree/a.lib:1: error"},
      {{"--check", "tree/sub/b.mod"}, 0, ""},
      {{"--check", "--fail-on=warning", "tree/sub/r.cir"}, 1, "warning"},
      {{"--check", "-r", "tree", "--summary"}, 1, "total (3 files)"},
      {{"--check", "-q", "-r", "tree/sub"}, 0, ""},
  };
  for (const Case& c : cases) {
    const RunResult run = RunZavImport(c.args, scratch.path());
    std::string joined;
    for (const std::string& arg : c.args) joined += arg + " ";
    EXPECT_EQ(run.exitCode, c.exitCode) << joined << "\n" << run.err;
    EXPECT_EQ(run.out, "") << joined;
    EXPECT_TRUE(Contains(run.err, c.errPart)) << joined << "\n" << run.err;
  }
  EXPECT_EQ(FilesBelow(scratch.path()), before);

  RunRequest piped;
  piped.args = {"--check"};
  piped.directory = scratch.path();
  piped.input = kErrorLib;
  const RunResult run = RunWith(piped);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, std::string("<stdin>:1: ") + kErrorText);
}

// --- colours --------------------------------------------------------------

TEST(ZavImportColor, ColoursTextDiagnosticsLikeACompilerAndNothingElse) {
  ScratchDirectory scratch;
  scratch.Write("m.lib", kMixedLib);
  const RunResult always = RunZavImport({"--color=always", "m.lib"}, scratch.path());
  EXPECT_EQ(always.err,
            "\033[1mm.lib:1:\033[0m \033[1;31merror:\033[0m This element is not in a subcircuit. This card will be "
            "turned into a comment\n"
            "\033[1mm.lib:4:\033[0m \033[1;36minfo:\033[0m The \"TC1\" parameter is being added to the device \"C1\" "
            "as \"TC\"\n"
            "\033[1mm.lib:6:\033[0m \033[1;35mwarning:\033[0m \"R\" is not a supported model parameter. It will be "
            "converted to a comment\n");
  const RunResult plain = RunZavImport({"m.lib"}, scratch.path());
  EXPECT_FALSE(Contains(plain.err, "\033")) << "auto, standard error not a terminal";
  EXPECT_EQ(RunZavImport({"--color=never", "m.lib"}, scratch.path()).err, plain.err);
  EXPECT_EQ(always.out, plain.out);

  for (const char* format : {"--diagnostics=json", "--diagnostics=native"}) {
    const RunResult other = RunZavImport({"--color=always", format, "m.lib"}, scratch.path());
    EXPECT_FALSE(Contains(other.err, "\033")) << format;
  }
  RunRequest noColor;
  noColor.args = {"--color=always", "m.lib"};
  noColor.directory = scratch.path();
  noColor.environment = {{"NO_COLOR", "1"}};
  EXPECT_EQ(RunWith(noColor).err, always.err) << "--color=always wins over NO_COLOR";
}

TEST(ZavImportColor, ColoursATerminalUnlessNoColorIsSet) {
  ScratchDirectory scratch;
  scratch.Write("m.lib", kMixedLib);
  const std::optional<RunResult> colored = RunOnTerminal({"m.lib"}, scratch.path(), {{"NO_COLOR", std::nullopt}});
  if (!colored.has_value()) GTEST_SKIP() << "no pseudo-terminal here";
  EXPECT_TRUE(Contains(colored->out, "\033[1mm.lib:1:\033[0m \033[1;31merror:\033[0m This element")) << colored->out;
  EXPECT_TRUE(Contains(colored->out, "\033[1;35mwarning:\033[0m")) << colored->out;

  const struct {
    std::vector<std::string> args;
    std::vector<EnvironmentChange> environment;
  } plainCases[] = {
      {{"m.lib"}, {{"NO_COLOR", "1"}}},
      {{"--color=never", "m.lib"}, {{"NO_COLOR", std::nullopt}}},
  };
  for (const auto& c : plainCases) {
    const std::optional<RunResult> plain = RunOnTerminal(c.args, scratch.path(), c.environment);
    ASSERT_TRUE(plain.has_value());
    EXPECT_TRUE(Contains(plain->out, "m.lib:1: error: This element")) << plain->out;
    EXPECT_FALSE(Contains(plain->out, "\033")) << plain->out;
  }

  // With standard input a terminal, no input at all is a mistake, not a filter.
  const std::optional<RunResult> noInput = RunOnTerminal({}, scratch.path(), {});
  ASSERT_TRUE(noInput.has_value());
  EXPECT_EQ(noInput->exitCode, 2);
  EXPECT_TRUE(Contains(noInput->out, "zav-import: no input: name a model file, a directory with -r, or - to read "
                                     "standard input"))
      << noInput->out;
}

// --- option errors --------------------------------------------------------

TEST(ZavImportOptions, SaysPlainlyWhatIsWrongWithEachOption) {
  ScratchDirectory scratch;
  scratch.Write("a.lib", kCleanLib);
  struct Case {
    std::vector<std::string> args;
    const char* message;
  };
  const std::vector<Case> cases = {
      {{"--diagnostics=xml", "a.lib"}, "--diagnostics: 'xml' is not one of: text, native, json"},
      {{"--diagnostics", "XML", "a.lib"}, "--diagnostics: 'XML' is not one of: text, native, json"},
      {{"a.lib", "--diagnostics"}, "--diagnostics: no value given; it needs one of: text, native, json"},
      {{"--fail-on=sometimes", "a.lib"}, "--fail-on: 'sometimes' is not one of: error, warning, never"},
      {{"--fail-on", "-q", "a.lib"}, "--fail-on: no value given; it needs one of: error, warning, never"},
      {{"--color=maybe", "a.lib"}, "--color: 'maybe' is not one of: auto, always, never"},
      {{"--target=spice3", "a.lib"}, "--target: 'spice3' is not one of: host, ngspice"},
      {{"--color=", "a.lib"}, "--color: '' is not one of: auto, always, never"},
      {{"a.lib", "-o"}, "-o: no value given; it needs a PATH"},
      {{"--output=", "a.lib"}, "--output: an empty value was given; it needs a PATH"},
      {{"--ext", ".a/b", "a.lib"}, "--ext: '.a/b' is not an extension such as fam or .fam"},
      {{"--ext=fam,,phy", "a.lib"}, "--ext: '' is not an extension such as fam or .fam"},
      {{"-r", "--ext"}, "--ext: no value given; it needs an extension such as fam or .fam (several separated by "
                        "commas)"},
      {{"--list=yes", "a.lib"}, "--list: takes no value, 'yes' given"},
      {{"-q=1", "a.lib"}, "-q: takes no value, '1' given"},
      {{"--recursive=no", "a.lib"}, "--recursive: takes no value, 'no' given"},
      {{"--check=1", "a.lib"}, "--check: takes no value, '1' given"},
      {{"--summary=on", "a.lib"}, "--summary: takes no value, 'on' given"},
      {{"--bogus", "a.lib"}, "'--bogus' is not an option"},
      {{"--diag=json", "a.lib"}, "'--diag' is not an option (did you mean --diagnostics?)"},
      {{"-rx", "a.lib"}, "'-x' is not an option"},
      {{"--list", "--dump", "a.lib"}, "--list and --dump cannot be used together"},
      {{"--list", "-o", "out", "a.lib"}, "--list and --output cannot be used together"},
      {{"--check", "-o", "out", "a.lib"}, "--check and --output cannot be used together"},
      {{"--check", "--list", "a.lib"}, "--check and --list cannot be used together"},
      {{"--progress", "--no-progress", "a.lib"}, "--progress and --no-progress cannot be used together"},
      {{"-", "-"}, "standard input (-) can be read only once"},
      {{"-o", "out", "-", "a.lib"}, "-o: standard input (-) cannot be written into an output directory; convert it "
                                    "alone"},
  };
  for (const Case& c : cases) {
    const RunResult run = RunZavImport(c.args, scratch.path());
    std::string joined;
    for (const std::string& arg : c.args) joined += arg + " ";
    EXPECT_EQ(run.exitCode, 2) << joined;
    EXPECT_EQ(run.out, "") << joined;
    EXPECT_EQ(run.err, std::string("zav-import: ") + c.message + "\n" + kHelpPointer) << joined;
  }
  EXPECT_EQ(FilesBelow(scratch.path()), std::vector<fs::path>{"a.lib"});

  // A value given twice: the last one counts, as with compilers.
  scratch.Write("e.lib", kErrorLib);
  EXPECT_EQ(RunZavImport({"--fail-on=error", "--fail-on=never", "e.lib"}, scratch.path()).exitCode, 0);
}

// --- manual page and completion -------------------------------------------

// Whether `text` holds `word` not followed by more of an option's name.
bool HoldsOption(const std::string& text, const std::string& word) {
  for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) {
    const std::size_t end = at + word.size();
    if (end == text.size() || !(std::isalnum(static_cast<unsigned char>(text[end])) || text[end] == '-')) {
      return true;
    }
  }
  return false;
}

TEST(ZavImportDocs, ManPageAndCompletionKnowEveryOptionOfTheHelp) {
  ScratchDirectory scratch;
  const std::string help = RunZavImport({"--help"}, scratch.path()).out;
  std::set<std::string> options;
  std::vector<std::string> values;
  const std::regex optionLine(R"(^  (-[^ ]+)( ([a-z]+(\|[a-z]+)+))?)");
  const std::regex name(R"(-{1,2}[A-Za-z][A-Za-z-]*)");
  // The option lines: from "Options:" to the blank line that ends them.
  std::istringstream lines(help.substr(help.find("\nOptions:\n") + 1));
  for (std::string line; std::getline(lines, line) && !line.empty();) {
    std::smatch match;
    if (!std::regex_search(line, match, optionLine)) continue;
    const std::string names = match[1];
    for (std::sregex_iterator it(names.begin(), names.end(), name), end; it != end; ++it) options.insert(it->str());
    if (match[3].matched) {
      std::string choices = match[3];
      for (std::size_t bar; (bar = choices.find('|')) != std::string::npos; choices.erase(0, bar + 1)) {
        values.push_back(choices.substr(0, bar));
      }
      values.push_back(choices);
    }
  }
  ASSERT_GE(options.size(), 20u) << help;
  EXPECT_TRUE(options.count("--color") && options.count("--check") && options.count("-o")) << help;
  ASSERT_GE(values.size(), 9u) << help;

  std::string manual = ReadBytes(ZAV_MAN_PAGE);
  // roff writes a minus as "\-".
  for (std::size_t at; (at = manual.find("\\-")) != std::string::npos;) manual.erase(at, 1);
  const std::string completion = ReadBytes(ZAV_COMPLETION);
  for (const std::string& option : options) {
    EXPECT_TRUE(HoldsOption(manual, option)) << option << " is not in the manual page";
    EXPECT_TRUE(HoldsOption(completion, option)) << option << " is not in the completion script";
  }
  for (const std::string& value : values) {
    EXPECT_TRUE(HoldsOption(manual, value)) << value << " is not in the manual page";
    EXPECT_TRUE(HoldsOption(completion, value)) << value << " is not in the completion script";
  }
  for (const char* section : {".SH SYNOPSIS", ".SH DESCRIPTION", ".SH OPTIONS", ".SH INPUT DISCOVERY",
                              ".SH DIAGNOSTICS", ".SH EXIT STATUS", ".SH EXAMPLES", ".SH FILES"}) {
    EXPECT_TRUE(Contains(manual, section)) << section;
  }
}

TEST(ZavImportDocs, CompletionOffersOptionsAndTheirValues) {
  if (!fs::exists("/bin/bash")) GTEST_SKIP() << "no bash";
  struct Case {
    const char* words;  // COMP_WORDS, the last one being completed
    const char* want;   // COMPREPLY, one per line
  };
  const Case cases[] = {
      {"zav-import --color ''", "auto\nalways\nnever\n"},
      {"zav-import --diagnostics j", "json\n"},
      {"zav-import --fail-on = w", "warning\n"},
      {"zav-import --list", "--list-files\n--list\n"},
      {"zav-import --no-p", "--no-progress\n"},
  };
  for (const Case& c : cases) {
    const std::string script = std::string("source '") + ZAV_COMPLETION + "'; COMP_WORDS=(" + c.words +
                               "); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); _zav_import; "
                               "printf '%s\\n' \"${COMPREPLY[@]}\"";
    const std::string command = "/bin/bash -c \"$ZAV_SCRIPT\"";
    ::setenv("ZAV_SCRIPT", script.c_str(), 1);
    std::FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string got;
    char buffer[256];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) got.append(buffer, n);
    ::pclose(pipe);
    EXPECT_EQ(got, c.want) << c.words;
  }
}

}  // namespace
}  // namespace zav::testing
