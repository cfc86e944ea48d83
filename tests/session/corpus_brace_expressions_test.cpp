// Every "{...}" expression of a corpus file reaches the host whole, in code
// or in a comment, at least as many times as the file writes it: translation
// may move an expression or copy it, but never cut it or reorder its parts.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "diagnostics/diagnostic_list.h"
#include "session/import_session.h"

namespace zav {
namespace {

using ExpressionCounts = std::map<std::string, std::size_t>;

std::vector<std::filesystem::path> CorpusFiles() {
  std::vector<std::filesystem::path> files;
  const std::filesystem::path dir = ZAV_CORPUS_DIR;
  if (!std::filesystem::exists(dir)) return files;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) {
    const std::string ext = entry.path().extension().string();
    if (ext == ".tsv" || ext == ".md") continue;
    files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// Every balanced pair of braces of every line, nested ones included.
void CountExpressions(const std::string& text, ExpressionCounts& counts) {
  std::vector<std::size_t> open;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      open.clear();
    } else if (text[i] == '{') {
      open.push_back(i);
    } else if (text[i] == '}' && !open.empty()) {
      ++counts[text.substr(open.back(), i + 1 - open.back())];
      open.pop_back();
    }
  }
}

TEST(CorpusBraceExpressionsTest, EveryExpressionReachesTheHostWhole) {
  const auto files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << ZAV_CORPUS_DIR;
  std::size_t checked = 0;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    std::ifstream in(path, std::ios::binary);
    std::string input((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // What follows an end-of-file mark is no part of the text (one file has
    // binary data there).
    input.resize(std::min(input.size(), input.find('\x1a')));
    ExpressionCounts written;
    CountExpressions(input, written);
    if (written.empty()) continue;

    TheDiagnosticList().Clear();
    ImportSession session;
    session.Import(path.string().c_str());
    std::string output;
    for (ImportedModel* model : session.models()) output += model->ModelText();
    ExpressionCounts delivered;
    CountExpressions(output, delivered);

    for (const auto& [expression, count] : written) {
      EXPECT_GE(delivered[expression], count) << expression;
      ++checked;
    }
  }
  TheDiagnosticList().Clear();
  EXPECT_GT(checked, 0u);
}

}  // namespace
}  // namespace zav
