// Every corpus file imports with every input line accounted for: each line
// stands in exactly one card, each card in exactly one model the host sees,
// in file order, and a card that was not edited gives its lines back as read
// or as comment lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "diagnostics/diagnostic_list.h"
#include "session/import_session.h"
#include "subcircuits/subcircuit_model.h"

namespace zav {
namespace {

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

TEST(CorpusImportTest, EveryLineReachesTheHostInFileOrder) {
  const auto files = CorpusFiles();
  if (files.empty()) GTEST_SKIP() << "no corpus at " << ZAV_CORPUS_DIR;
  for (const auto& path : files) {
    SCOPED_TRACE(path.filename().string());
    TheDiagnosticList().Clear();
    ImportSession session;
    session.Import(path.string().c_str());
    ASSERT_FALSE(session.models().empty());

    // The cards behind the host's models, in model-list order.
    std::vector<const Card*> reached;
    for (ImportedModel* model : session.models()) {
      if (model->origin == ImportedModel::Origin::Subcircuit) {
        for (const Card* card : static_cast<SubcircuitModel*>(model)->cards()) reached.push_back(card);
      } else {
        reached.push_back(static_cast<Card*>(model));
      }
    }
    ASSERT_EQ(reached.size(), session.cards().size());
    for (std::size_t i = 0; i < reached.size(); ++i) ASSERT_EQ(reached[i], session.cards()[i].get()) << i;

    // Every line once, in file order.
    std::vector<const SourceLine*> seen;
    for (const Card* card : reached) seen.insert(seen.end(), card->lines.begin(), card->lines.end());
    ASSERT_EQ(seen.size(), session.lines().size());
    for (std::size_t i = 0; i < seen.size(); ++i) ASSERT_EQ(seen[i], &session.lines()[i]) << i;

    for (const Card* card : reached) {
      if (card->changed) continue;
      for (const SourceLine* line : card->lines) {
        const bool asRead = line->text == line->rawText;
        const bool commented = line->text == "* " + std::string(line->rawText);
        EXPECT_TRUE(asRead || commented) << line->number;
      }
    }
  }
  TheDiagnosticList().Clear();
}

}  // namespace
}  // namespace zav
