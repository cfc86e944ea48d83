#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "diagnostics/diagnostic_list.h"
#include "session/import_session.h"
#include "support/import_texts.h"
#include "support/temp_file.h"

namespace zav {
namespace {

using testing::TempFile;

using ImportResult = testing::ImportedTexts;

ImportResult Import(const std::string& bytes) { return testing::ImportBytes(bytes); }

TEST(ImportSessionTest, StyleChoosesTheCommentConventions) {
  ImportSession session;
  EXPECT_EQ(session.style(), 1);
  EXPECT_EQ(session.lineCommentChars(), ";*");
  EXPECT_EQ(session.inlineCommentChars(), ";");
  session.SetStyle(1);
  EXPECT_EQ(session.lineCommentChars(), ";*");
  session.SetStyle(0);
  EXPECT_EQ(session.lineCommentChars(), "*");
  EXPECT_EQ(session.inlineCommentChars(), "");
  session.SetStyle(1);
  EXPECT_EQ(session.inlineCommentChars(), ";");
}

TEST(ImportSessionTest, FilesWithoutCardsGiveNoModelAndNoDiagnostic) {
  for (const char* bytes : {"", "* only a comment\n\n  \n; another\n"}) {
    const ImportResult result = Import(bytes);
    EXPECT_TRUE(result.models.empty());
    EXPECT_TRUE(result.diagnostics.empty()) << bytes;
  }
}

TEST(ImportSessionTest, FindsTopLevelModelsWithoutRegardToCaseFirstMatchFirst) {
  TheDiagnosticList().Clear();
  TempFile file(".MODEL Dx D(IS=1)\n.MODEL DX D(IS=2)\n.SUBCKT amp 1 2\n.ENDS\n");
  ImportSession session;
  session.Import(file.path().c_str());
  ASSERT_EQ(session.models().size(), 3u);
  EXPECT_EQ(session.FindModel("dx"), session.models()[0]);
  EXPECT_EQ(session.FindModel("AMP"), session.models()[2]);
  EXPECT_EQ(session.FindModel("nothing"), nullptr);
  TheDiagnosticList().Clear();
}

TEST(ImportSessionTest, StrayCardsBecomeCommentsOfTheirNeighbours) {
  // Two strays before a model go, in order, to its front.
  ImportResult r = Import("R1 1 2 3\nR2 3 4 5\n.MODEL D1 D\n");
  ASSERT_EQ(r.models.size(), 1u);
  EXPECT_EQ(r.models[0], "* R1 1 2 3\n* R2 3 4 5\n.MODEL D1 D\n");
  ASSERT_EQ(r.diagnostics.size(), 2u);
  EXPECT_EQ(r.diagnostics[0],
            "Line 1:\n\tR1 1 2 3\nerror -- This element is not in a subcircuit. This card will be turned into a "
            "comment.\n");
  // A stray last card goes to the end of the card before it.
  r = Import(".MODEL D1 D\nR1 1 2 3\n");
  ASSERT_EQ(r.models.size(), 1u);
  EXPECT_EQ(r.models[0], ".MODEL D1 D\n* R1 1 2 3\n");
  // A lone element: 13 for its line, then 4 without a line; no model.
  r = Import("R1 1 2 3\n");
  EXPECT_TRUE(r.models.empty());
  ASSERT_EQ(r.diagnostics.size(), 2u);
  EXPECT_EQ(r.diagnostics[0].substr(0, 8), "error --");  // no line: sorted first
  EXPECT_EQ(r.diagnostics[0], "error -- Cannot find any valid models in the file..\n");
  // A card that cannot be classified merges the same way.
  r = Import(".OPTIONS X\n.MODEL D1 D\n.END\n");
  ASSERT_EQ(r.models.size(), 1u);
  EXPECT_EQ(r.models[0], "* .OPTIONS X\n.MODEL D1 D\n* .END\n");
}

TEST(ImportSessionTest, ManyStrayCardsImportInLinearTime) {
  auto build = [](int strays) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(strays) * 12 + 32);
    for (int i = 0; i < strays; ++i) bytes += "R" + std::to_string(i) + " 1 2 3\n";
    bytes += ".MODEL D1 D(IS=1)\n";
    return bytes;
  };
  auto timeImport = [&](int strays, std::size_t* textSize) {
    const std::string bytes = build(strays);
    const auto start = std::chrono::steady_clock::now();
    const ImportResult r = Import(bytes);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(r.models.size(), 1u);
    EXPECT_EQ(r.diagnostics.size(), static_cast<std::size_t>(strays));
    *textSize = r.models.empty() ? 0 : r.models[0].size();
    return seconds;
  };
  std::size_t smallSize = 0, largeSize = 0;
  const double small = timeImport(10000, &smallSize);
  const double large = timeImport(100000, &largeSize);
  EXPECT_GT(largeSize, smallSize * 9);
  // Ten times the input: linear work takes about ten times as long; merging
  // card by card would take about a hundred times as long.
  EXPECT_LT(large, small * 30 + 0.5) << "10k: " << small << " s, 100k: " << large << " s";
}

}  // namespace
}  // namespace zav
