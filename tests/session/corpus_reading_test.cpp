#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "diagnostics/diagnostic_list.h"
#include "session/import_session.h"

namespace zav {
namespace {

std::vector<std::filesystem::path> CorpusFiles() {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(ZAV_CORPUS_DIR, error)) {
    const std::string name = entry.path().filename().string();
    if (entry.is_regular_file() && name != "MANIFEST.tsv" && name != "README.md") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string DropCrBeforeLf(const std::string& bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    out += bytes[i];
  }
  return out;
}

// Every corpus file, read into lines and cards and tokenized, gives its bytes
// back: from the cards' output texts, and line by line from the tokens of
// every line, rejected lines included.
TEST(CorpusReadingTest, CardsAndTokensGiveBackEveryFile) {
  const std::vector<std::filesystem::path> files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << ZAV_CORPUS_DIR;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    const std::string expected = DropCrBeforeLf(ReadBytes(path));
    TheDiagnosticList().Clear();
    ImportSession session;
    session.path = path.string();
    session.hasPath = true;
    session.ReadFile();
    session.BuildCards();
    TheDiagnosticList().ForEach([](const Diagnostic& d) {
      EXPECT_NE(d.text.find("This line is unexpected in this context"), std::string::npos) << d.text;
    });

    std::string joined;
    if (session.cards.empty()) {
      for (const SourceLine& l : session.lines) joined += l.text;
    }
    for (const auto& card : session.cards) joined += card->OutputText();
    EXPECT_EQ(joined.size(), expected.size());
    EXPECT_TRUE(joined == expected);

    TheDiagnosticList().Clear();
    for (const auto& card : session.cards) {
      card->Parse();
      const Token* t = card->tokens.front();
      for (const SourceLine* line : card->lines) {
        std::string fromTokens;
        for (; t != nullptr && t->line == line; t = t->next) fromTokens += t->text;
        EXPECT_TRUE(fromTokens == line->text) << line->number;
      }
      EXPECT_EQ(t, nullptr);
    }
    TheDiagnosticList().ForEach([](const Diagnostic& d) {
      EXPECT_NE(d.text.find("error -- Invalid "), std::string::npos) << d.text;
    });
  }
  TheDiagnosticList().Clear();
}

}  // namespace
}  // namespace zav
