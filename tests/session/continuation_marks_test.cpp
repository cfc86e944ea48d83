// A simulator reads "+" at the start of a line as "the statement goes on",
// and a "*" after it as code, not as a comment. So no line that the import
// writes may hold a continuation mark in front of a comment, a line end or a
// second mark: over every corpus file and every golden input, every line of
// every model text that starts with a mark has code after it, unless the
// line is one of the input's own lines, written as read.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "diagnostics/diagnostic_list.h"
#include "session/import_session.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

std::vector<fs::path> InputsIn(const fs::path& dir) {
  std::vector<fs::path> files;
  if (!fs::exists(dir)) return files;
  for (const auto& entry : fs::directory_iterator(dir)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".tsv" || ext == ".md" || ext == ".expected" || ext == ".cpp") continue;
    files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Calls `each` with every line of `text`, without its line feed.
template <typename Each>
void ForEachLine(std::string_view text, Each&& each) {
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    each(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A line that starts with a mark (after blanks) and has no code after it:
// after the "+" and blanks comes "*", ";", another "+" or the line's end.
bool MarkWithoutCode(std::string_view line) {
  std::size_t pos = 0;
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  if (pos == line.size() || line[pos] != '+') return false;
  ++pos;
  while (pos < line.size() && IsBlank(line[pos])) ++pos;
  if (pos == line.size() || line[pos] == '\r') return true;
  return line[pos] == '*' || line[pos] == ';' || line[pos] == '+';
}

void ExpectEveryMarkBeforeCode(const fs::path& path) {
  SCOPED_TRACE(path.filename().string());
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::unordered_set<std::string_view> asRead;
  ForEachLine(bytes, [&](std::string_view line) { asRead.insert(line); });

  TheDiagnosticList().Clear();
  ImportSession session;
  session.Import(path.string().c_str());
  int reported = 0;
  for (const ImportedModel* model : session.models()) {
    const std::string text = model->ModelText();
    ForEachLine(text, [&](std::string_view line) {
      if (!MarkWithoutCode(line) || asRead.contains(line)) return;
      // One report per file is enough to find the card; a broken writer
      // would otherwise flood the log.
      if (reported++ == 0) ADD_FAILURE() << "a mark without code: \"" << line << "\"";
    });
  }
  EXPECT_EQ(reported, 0);
}

TEST(ContinuationMarksTest, EveryWrittenMarkStandsBeforeCode) {
  const std::vector<fs::path> golden = InputsIn(fs::path(ZAV_TEST_DATA_DIR) / "golden");
  ASSERT_FALSE(golden.empty());
  for (const fs::path& path : golden) ExpectEveryMarkBeforeCode(path);
  for (const fs::path& path : InputsIn(ZAV_CORPUS_DIR)) ExpectEveryMarkBeforeCode(path);
  TheDiagnosticList().Clear();
}

}  // namespace
}  // namespace zav
