#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "support/import_texts.h"

namespace zav {
namespace {

using testing::ImportBytes;

// A model with tens of thousands of parameters that its table does not know,
// and a second model that copies them all by AKO and loses them again: every
// parameter is commented out and reported, in linear time.
TEST(ModelTranslationTest, LongParameterListsAreCopiedAndRemovedInLinearTime) {
  constexpr int kCount = 40000;
  std::string bytes = ".MODEL A D IS=1\n";
  for (int i = 0; i < kCount; ++i) bytes += "+ P" + std::to_string(i) + "=1\n";
  bytes += ".MODEL B AKO:A D N=2\n";

  const auto start = std::chrono::steady_clock::now();
  const testing::ImportedTexts result = ImportBytes(bytes);
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  ASSERT_EQ(result.models.size(), 2u);
  EXPECT_EQ(result.diagnostics.size(), 2u * kCount);
  const std::string& a = result.models[0];
  EXPECT_EQ(a.rfind(".MODEL A D IS=1\n* P0=1\n* P1=1\n", 0), 0u);
  EXPECT_NE(a.find("\n* P39999=1\n"), std::string::npos);
  EXPECT_EQ(a.find("\n+"), std::string::npos);
  const std::string& b = result.models[1];
  EXPECT_EQ(b.rfind(".MODEL B\n* AKO:A \n+ D N=2\n+ IS = 1    ; Added via AKO reference from: \"A\"\n"
                    "* P0 = 1    ; Added via AKO reference from: \"A\"\n",
                    0),
            0u);
  EXPECT_LT(seconds, 10.0);
}

// A tag that one card's table does not know reaches, by an AKO copy, a card
// whose table knows the name: it is still no value, and is commented out.
TEST(ModelTranslationTest, CopiedTagIsUnknownToATableThatKnowsItsName) {
  const testing::ImportedTexts result = ImportBytes(
      ".MODEL A NMOS(XJ=deep KP=2e-5)\n"
      ".MODEL B AKO:A NMOS(LEVEL=2)\n");
  ASSERT_EQ(result.models.size(), 2u);
  EXPECT_EQ(result.models[1],
            ".MODEL B\n* AKO:A \n+ NMOS(LEVEL=2)\n"
            "* XJ = deep    ; Added via AKO reference from: \"A\"\n"
            "+ KP = 2e-5    ; Added via AKO reference from: \"A\"\n");
  const std::string copied = "Line 2:\n\t.MODEL B AKO:A NMOS(LEVEL=2)\nerror -- \"XJ\" is not a recognized model "
                             "parameter. It will be converted to a comment.\n";
  EXPECT_NE(std::find(result.diagnostics.begin(), result.diagnostics.end(), copied), result.diagnostics.end());
}

// The walk over a card's entries passes over those its parse noted as kept
// as written and stops at the last entry: whether the one entry to change
// is the first, the last or the only one, or none is, each is translated
// once.
TEST(ModelTranslationTest, EveryEntryToChangeIsMetWhereverItStands) {
  const testing::ImportedTexts result = ImportBytes(
      ".MODEL D0 D\n"
      ".MODEL D1 D(FOO=1)\n"
      ".MODEL D2 D(IS=1 N=2 FOO=3)\n"
      ".MODEL D3 D(BAR=1 IS=1 N=2)\n"
      ".MODEL D4 D(IS=1 N=2 RS=3)\n");
  ASSERT_EQ(result.models.size(), 5u);
  EXPECT_EQ(result.models[0], ".MODEL D0 D\n");
  EXPECT_EQ(result.models[1], ".MODEL D1 D\n* FOO=1)\n");
  EXPECT_EQ(result.models[2], ".MODEL D2 D(IS=1 N=2\n* FOO=3)\n");
  EXPECT_EQ(result.models[3], ".MODEL D3 D\n* BAR=1 \n+ IS=1 N=2)\n");
  EXPECT_EQ(result.models[4], ".MODEL D4 D(IS=1 N=2 RS=3)\n");
  EXPECT_EQ(result.diagnostics.size(), 3u);
}

// A MOSFET model notes the L and W it was written with, the first of each
// name in any case, as the parameters read before the translation moved
// them: a level 7 model renames its level too.
TEST(ModelTranslationTest, MosfetNotesTheFirstLengthAndWidthAsWritten) {
  const testing::ImportedTexts result = ImportBytes(
      ".MODEL M7 NMOS(LEVEL=7 w=10u VTH0=0.5 l=2u L=3u TOX=8.5m W=20u)\n"
      ".MODEL M1 NMOS(W=5u KP=2e-5 L=1u)\n"
      ".MODEL M0 NMOS(KP=2e-5)\n");
  ASSERT_EQ(result.models.size(), 3u);
  EXPECT_EQ(result.models[0],
            ".MODEL M7 NMOS(LEVEL=10\n* w=10u \n+ VTH0=0.5\n* l=2u \n* L=3u \n+ TOX=8.5m\n* W=20u)\n"
            "* L=2u W=10u\n");
  EXPECT_EQ(result.models[1], ".MODEL M1 NMOS\n* W=5u \n+ KP=2e-5\n* L=1u)\n* L=1u W=5u\n");
  EXPECT_EQ(result.models[2], ".MODEL M0 NMOS(KP=2e-5)\n");
  EXPECT_EQ(result.diagnostics.size(), 6u);
}

// A card with an AKO reference looks its rows up once it knows its table:
// its own entries and the copies, names in any case and longer than eight
// bytes, are renamed, moved and commented out as a card's parse would have
// noted them.
TEST(ModelTranslationTest, AkoCardTranslatesItsOwnEntriesAndItsCopies) {
  const testing::ImportedTexts result = ImportBytes(
      ".MODEL Q1 NPN(IS=1E-16 va=50 MFG=Zetex T_MEASURED=25 Bf=100 ikf=0.1)\n"
      ".MODEL Q2 AKO:Q1 PNP(Nf=1.1 VAR=20 t_abs=30 LONGUNKNOWNNAME=1)\n");
  ASSERT_EQ(result.models.size(), 2u);
  EXPECT_EQ(result.models[0], ".MODEL Q1 NPN(IS=1E-16 VAF=50\n* MFG=Zetex \n+ TNOM=25 Bf=100 ikf=0.1)\n");
  EXPECT_EQ(result.models[1],
            ".MODEL Q2\n* AKO:Q1 \n+ PNP(Nf=1.1 VAR=20\n* t_abs=30 \n* LONGUNKNOWNNAME=1)\n"
            "+ IS = 1E-16    ; Added via AKO reference from: \"Q1\"\n"
            "+ VAF = 50    ; Added via AKO reference from: \"Q1\"\n"
            "* MFG = Zetex    ; Added via AKO reference from: \"Q1\"\n"
            "+ TNOM = 25    ; Added via AKO reference from: \"Q1\"\n"
            "+ Bf = 100    ; Added via AKO reference from: \"Q1\"\n"
            "+ ikf = 0.1    ; Added via AKO reference from: \"Q1\"\n");
  EXPECT_EQ(result.diagnostics.size(), 4u);
}

// The names of the parameters an AKO reference added to a model's text, in
// their order, kept or commented out.
std::vector<std::string> AkoCopiedNames(const std::string& text) {
  std::vector<std::string> names;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::string line = text.substr(start, end - start);
    if (line.find("; Added via AKO reference from:") != std::string::npos) names.push_back(line.substr(2, line.find(" = ") - 2));
    start = end + 1;
  }
  return names;
}

// A copy is taken by its name without regard to case, whatever its length:
// a name the card has, or one offered before, is not taken again. Two names
// whose short spellings share their bytes ("AB", "ABB") differ, and so do
// names longer than eight bytes that differ only at their end.
TEST(ModelTranslationTest, AkoCopiesAreChosenByNameWithoutRegardToCase) {
  const testing::ImportedTexts result = ImportBytes(
      ".MODEL A D(IS=1 n=2 RS=3 rs=33 TT=4 LONGNAME1=5 LONGNAME2=6 AB=7 ABB=8 ISR=9 CJO=10)\n"
      ".MODEL B AKO:A D(N=20 longname1=50 ab=70 Is=10 cjO=100)\n");
  ASSERT_EQ(result.models.size(), 2u);
  EXPECT_EQ(AkoCopiedNames(result.models[1]), (std::vector<std::string>{"RS", "TT", "LONGNAME2", "ABB", "ISR"}));
}

// A card that refers to an AKO card copies the list that card holds once
// linked: its own parameters as written (a name it writes twice, twice),
// then what it took, and chooses among them as from any other card. A card
// whose reference links only after it copies the reference's own list.
TEST(ModelTranslationTest, AkoChainCopiesTheListItsReferenceHolds) {
  const testing::ImportedTexts result = ImportBytes(
      ".MODEL A D(IS=1 RS=3 TT=4 LONGNAME2=6 CJO=10)\n"
      ".MODEL E AKO:B D(BV=7)\n"
      ".MODEL B AKO:A D(N=20 n=21 LONGNAME2=60 Is=10)\n"
      ".MODEL C AKO:B D(tt=40 N=2)\n");
  ASSERT_EQ(result.models.size(), 4u);
  EXPECT_EQ(AkoCopiedNames(result.models[2]), (std::vector<std::string>{"RS", "TT", "CJO"}));
  EXPECT_EQ(AkoCopiedNames(result.models[3]), (std::vector<std::string>{"LONGNAME2", "Is", "RS", "CJO"}));
  EXPECT_EQ(AkoCopiedNames(result.models[1]), (std::vector<std::string>{"N", "LONGNAME2", "Is"}));
}

// A MOSFET's table is chosen by its first LEVEL, in any case and after a tag
// or not, and that LEVEL is the one the host's number for level 7 is written
// over; a card translated in its turn (the last, without a line feed) alike.
// A level no table has rejects the card, quoting the value as written.
TEST(ModelTranslationTest, TheFirstLevelChoosesTheTableAndIsTheOneRewritten) {
  const testing::ImportedTexts result = ImportBytes(
      ".MODEL M1 NMOS(mfg=x level=7 VTH0=1)\n"
      ".MODEL M2 NMOS(LEVEL=2 LEVEL=7)\n"
      ".MODEL M3 NMOS(LEVEL=7 LEVEL=2)\n"
      ".MODEL M4 NMOS(LEVEL=300)\n"
      ".MODEL M5 NMOS(VTO=1 LEVEL=7 VTH0=1)");
  ASSERT_EQ(result.models.size(), 4u);
  EXPECT_EQ(result.models[0], ".MODEL M1 NMOS\n* mfg=x \n+ level=10 VTH0=1)\n");
  EXPECT_EQ(result.models[1], ".MODEL M2 NMOS(LEVEL=2 LEVEL=7)\n");
  EXPECT_EQ(result.models[2], ".MODEL M3 NMOS(LEVEL=10 LEVEL=2)\n");
  // The rejected card stands as a comment before the next.
  EXPECT_EQ(result.models[3], "* .MODEL M4 NMOS(LEVEL=300)\n.MODEL M5 NMOS\n* VTO=1 \n+ LEVEL=10 VTH0=1)");
  ASSERT_EQ(result.diagnostics.size(), 3u);
  EXPECT_NE(result.diagnostics[1].find("level \"300\""), std::string::npos) << result.diagnostics[1];
}
}  // namespace
}  // namespace zav
