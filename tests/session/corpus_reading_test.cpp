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

// The text the reader makes of a file: up to its end-of-file mark, without a
// CR before a LF, NUL bytes as spaces.
std::string TextAsRead(const std::string& bytes) {
  const std::size_t size = std::min(bytes.find('\x1A'), bytes.size());
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i < size; ++i) {
    if (bytes[i] == '\r' && i + 1 < size && bytes[i + 1] == '\n') continue;
    out += bytes[i] == '\0' ? ' ' : bytes[i];
  }
  return out;
}

// Every corpus file, read into lines and cards and tokenized, gives its bytes
// back: from the cards' output texts (a stray line as a comment line), and
// line by line from the tokens of every line, rejected lines included.
TEST(CorpusReadingTest, CardsAndTokensGiveBackEveryFile) {
  const std::vector<std::filesystem::path> files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << ZAV_CORPUS_DIR;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    const std::string expected = TextAsRead(ReadBytes(path));
    TheDiagnosticList().Clear();
    ImportSession session;
    session.Import(path.string().c_str(), ImportSession::Stage::BuildCards);
    std::set<int32_t> strayLines;
    TheDiagnosticList().ForEach([&](const Diagnostic& d) {
      if (d.text.find("This line is unexpected in this context") != std::string::npos) {
        strayLines.insert(d.lineNumber);
      } else {
        EXPECT_TRUE(d.text.find("encrypted block") != std::string::npos ||
                    d.text.find("end-of-file mark") != std::string::npos || d.text.find("NUL") != std::string::npos)
            << d.text;
      }
    });

    std::string joined;
    std::vector<const SourceLine*> cardLines;
    if (session.cards().empty()) {
      for (const SourceLine& l : session.lines()) cardLines.push_back(&l);
    }
    for (const auto& card : session.cards()) {
      std::string texts;
      for (const SourceLine* l : card->lines) texts += l->text, cardLines.push_back(l);
      EXPECT_TRUE(card->OutputText() == texts);
    }
    for (const SourceLine* l : cardLines) {
      joined += l->rawText;
      if (l->text != l->rawText) {
        EXPECT_TRUE(strayLines.count(l->number) && l->text == "* " + std::string(l->rawText)) << l->number;
      }
    }
    EXPECT_EQ(joined.size(), expected.size());
    EXPECT_TRUE(joined == expected);

    TheDiagnosticList().Clear();
    for (const auto& card : session.cards()) {
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
