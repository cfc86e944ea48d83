// Cards of an import hold tokens only while a step works on them: they are
// made again from the lines when needed (with the link's AKO edit made
// again), and an edited card keeps its finished text once nothing will edit
// it again. Whatever a card holds, the texts and diagnostics must be those
// of cards that keep their tokens throughout.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "cards/finished_text.h"
#include "diagnostics/diagnostic_batch.h"
#include "diagnostics/diagnostic_sink.h"
#include "session/import_session.h"
#include "session/import_settings.h"
#include "support/temp_file.h"

namespace zav {
namespace {

namespace fs = std::filesystem;

// What an import gives a host: the models' texts, and each diagnostic's line
// and text in the order of the list.
struct Outcome {
  std::vector<std::string> models;
  std::vector<std::string> diagnostics;
};

Outcome Import(const std::string& path, bool keepEditedTokens, TranslationTarget target = TranslationTarget::Host) {
  ImportSettings settings;
  settings.keepEditedTokens = keepEditedTokens;
  settings.target = target;
  ScopedImportSettings scoped(settings);
  DiagnosticBatch batch;
  Outcome outcome;
  {
    ScopedDiagnosticSink filed(batch);
    ImportSession session;
    session.Import(path.c_str());
    for (ImportedModel* model : session.models()) outcome.models.push_back(model->ModelText());
    if (!keepEditedTokens) {
      // Every step is over: no card holds tokens any more, and only an
      // edited card keeps a text of its own.
      for (const auto& card : session.cards()) {
        EXPECT_FALSE(card->holdsTokens()) << path << ": " << card->OutputText();
        EXPECT_EQ(card->tokens.finished() != nullptr, card->changed) << path << ": " << card->OutputText();
      }
    }
  }
  for (const Diagnostic diagnostic : batch.Sorted()) {
    outcome.diagnostics.push_back(std::to_string(diagnostic.lineNumber) + ": " + std::string(diagnostic.text));
  }
  return outcome;
}

void ExpectSameEitherWay(const std::string& path, TranslationTarget target = TranslationTarget::Host) {
  const Outcome released = Import(path, false, target);
  const Outcome kept = Import(path, true, target);
  ASSERT_EQ(released.models.size(), kept.models.size()) << path;
  for (std::size_t i = 0; i < kept.models.size(); ++i) EXPECT_EQ(released.models[i], kept.models[i]) << path << " model " << i;
  EXPECT_EQ(released.diagnostics, kept.diagnostics) << path;
}

// Every path that makes tokens again: AKO references forward, backward, in
// a chain, to the card itself and to a name that is not there; parameters
// moved to elements before and after their model, merged TC1/TC2, a MOSFET's
// L and W note, switches and passive types renamed, an LPNP, tags, a rejected
// card, brace expressions, and a last line without a line feed.
constexpr const char* kMixedLibrary =
    "* mixed\n"
    ".MODEL QA AKO:QB NPN(BF=50 ; note\n"
    "+ IS=2E-16)\n"
    ".MODEL QB NPN(IS=1E-16 BF=100 VAF=50 MFG=Zetex IKF=0.1)\n"
    ".MODEL QC AKO:QA NPN(NF=1.1)\n"
    ".MODEL QD AKO:QD NPN(BF=1)\n"
    ".MODEL QE AKO:NOWHERE NPN(BF=1)\n"
    ".SUBCKT AMP IN OUT\n"
    "R1 IN OUT RM 1k\n"
    "C1 IN OUT CM {CVAL*2}\n"
    "S1 IN OUT IN 0 SM\n"
    "W1 IN OUT V1 WM\n"
    "Q1 OUT IN 0 QP\n"
    "M1 OUT IN 0 0 MN L=1u\n"
    ".MODEL RM RES(R=1 TC1=0.001 TC2=1E-6)\n"
    ".MODEL CM CAP(C=1 TC2=2E-6 VC1=0.1)\n"
    ".MODEL SM VSWITCH(RON=1 ROFF=1MEG VON=1 VOFF=0)\n"
    ".MODEL WM ISWITCH(ION=1m IOFF=0)\n"
    ".MODEL QP LPNP(BF=20 IS=1E-15)\n"
    ".MODEL MN NMOS(LEVEL=7 VTH0=0.5 L=2u W=10u TOX=8.5m)\n"
    "D1 IN OUT DX\n"
    ".MODEL DX D(IS=1E-14 N=1.2,1.3 FOO=1)\n"
    ".ENDS AMP\n"
    ".MODEL MBAD NMOS(LEVEL=9)\n"
    ".MODEL DZ AKO:DX D(RS=1)\n"
    ".MODEL DLAST D(IS=1 BV={VB*2} T_ABS=27)";

// A model card whose translation reads only itself is translated as soon as
// it is classified, and finished then (an import that keeps edited tokens
// takes every card through the steps in turn). Later steps still reach it:
// comment lines of cards dropped at classification and at collection join
// its text before and after, an AKO card copies its parameters as written,
// and its diagnostics share lines with those of later steps.
constexpr const char* kEarlyLibrary =
    "R0 1 2 1k\n"
    ".MODEL QB NPN(IS=1E-16 VA=50 MFG=Zetex)\n"
    ".MODEL QA AKO:QB PNP(BF=50)\n"
    ".MODEL DX D(IS=1E-14 FOO=1) ; tail\n"
    "* between\n"
    ".MODEL DX D(IS=2 T_ABS=27)\n"
    "R9 3 4 2k\n"
    ".MODEL DY D(IS=3 BAR=1)\n"
    ".SUBCKT S1 A B\n"
    ".MODEL MU NMOS(L=1u W=2u)\n"
    ".ENDS\n"
    ".ENDS\n"
    ".MODEL MT NMOS(LEVEL=7 L=1u W=2u T_ABS=30)\n"
    "R8 3 4 2k\n"
    ".FOO\n"
    "+ 1\n";

TEST(HeldTokens, TextsAndDiagnosticsAreThoseOfCardsThatKeepTheirTokens) {
  testing::TempFile mixed(kMixedLibrary);
  ExpectSameEitherWay(mixed.path());
  testing::TempFile early(kEarlyLibrary);
  ExpectSameEitherWay(early.path());
  // A MOSFET's L/W note at the end of a file without a final line feed,
  // alone and after a stray element's line.
  testing::TempFile last(".MODEL MZ NMOS(L=1u W=2u MFG=X)");
  ExpectSameEitherWay(last.path());
  testing::TempFile stray(".MODEL MZ NMOS(L=1u MFG=X)\nR1 1 2 3");
  ExpectSameEitherWay(stray.path());
  // L and W met by the translation's walk (a card translated early) or
  // before it, in any case and order, twice, and in a definition.
  testing::TempFile geometry(
      ".MODEL M7 NMOS(LEVEL=7 w=10u VTH0=0.5 l=2u L=3u W=20u)\n"
      "M1 1 2 3 4 M7\n"
      ".MODEL M1 NMOS(W=5u KP=2e-5 L=1u)\n"
      ".SUBCKT S A B\n"
      ".MODEL MS NMOS(LEVEL=7 W=1u)\n"
      ".ENDS\n"
      ".MODEL MA AKO:M1 NMOS(l=4u)\n");
  ExpectSameEitherWay(geometry.path());
  testing::TempFile inlineComment(".MODEL NE NMOS W=1u ;P=1");
  ExpectSameEitherWay(inlineComment.path());
  testing::TempFile crlf(std::string(".MODEL Q1 NPN(BF=1 MFG=X)\r\n+ VAF=2\r\n") + ".MODEL Q2 AKO:Q1 PNP(IS=1)\r\n");
  ExpectSameEitherWay(crlf.path());
}

// An element that holds no tokens keeps its value swap and the parameters
// its model moves to it for its finished text, written from its lines; the
// tokens take them instead where the lines' form asks for them (an inline
// comment or the file's end after the last code line, a value on another
// line or in braces, fields of its own written NAME=value) or a later step
// makes them (a resistor's TC or a brace expression for ngspice).
constexpr const char* kWaitingEditsLibrary =
    ".SUBCKT PASSIVE A B\n"
    "* before\n"
    "C1 A B CM 2p\n"
    "* after\n"
    "C2 A B\tCM   3p IC=1\n"
    "L1 A B LM 1u ; inline\n"
    "R1 A B RM\n"
    "+ 1k\n"
    "R2 A B RM 2k \"x\n"
    "R3 A B RM {RV*2}\n"
    "R4 A B RM 4k TC=1,2\n"
    ".MODEL CM CAP(C=1 TC1=0.001 TC2=1E-6)\n"
    ".MODEL LM IND(L=1 TC1=0.01)\n"
    ".MODEL RM RES(R=1 TC1=0.001 T_ABS=27)\n"
    "C3 A B CM 4p\n"
    "D1 A B DX\n"
    "D2 A B DX AREA=2\n"
    "M1 A B A B MN L=1u\n"
    "M2 A B A B MN\n"
    "+ \n"
    ".MODEL DX D(IS=1 T_ABS=27 T_ABS=30)\n"
    ".MODEL MN NMOS(L=2u W=10u)\n"
    ".ENDS\n"
    ".SUBCKT LAST A B\n"
    ".MODEL RL RES(R=1 TC1=0.5)\n"
    "R9 A B RL 5";

TEST(HeldTokens, EditsThatWaitForAnElementsTextGiveTheSameAsItsTokens) {
  testing::TempFile waiting(kWaitingEditsLibrary);
  ExpectSameEitherWay(waiting.path());
  ExpectSameEitherWay(waiting.path(), TranslationTarget::Ngspice);
  // The swap written from the line, with nothing moved.
  const Outcome swapped = Import(waiting.path(), false);
  ASSERT_FALSE(swapped.models.empty());
  EXPECT_NE(swapped.models[0].find("C2 A B\t3p   CM IC=1\n+ TC = 0.001,1E-6    ; Moved here from model: \"CM\"\n"),
            std::string::npos)
      << swapped.models[0];
  testing::TempFile crlf(".SUBCKT S A B\r\nR1 A B RM 1k\r\n.MODEL RM RES(R=1 TC1=0.001)\r\n.ENDS\r\n");
  ExpectSameEitherWay(crlf.path());
}

// Where a byte cannot tell where the name or the value stands, the tokens
// take the edits: a wide gap before the value, a long value, a long name, a
// name far before the model name.
TEST(HeldTokens, EditsThatDoNotFitTheCardsBytesAreLeftToTheTokens) {
  const std::string wideGap = "C1 A B CM" + std::string(300, ' ') + "5p\n";
  const std::string longValue = "C2 A B CM 1" + std::string(280, '0') + "\n";
  const std::string longName = "C" + std::string(300, 'N') + " A B CM 2p\n";
  const std::string farName = "C3 A " + std::string(300, 'B') + " CM 3p\n";
  testing::TempFile file(".SUBCKT S A B\n" + wideGap + longValue + longName + farName +
                         ".MODEL CM CAP(C=1 TC1=0.001)\n.ENDS\n");
  ExpectSameEitherWay(file.path());
  const Outcome outcome = Import(file.path(), false);
  ASSERT_FALSE(outcome.models.empty());
  EXPECT_NE(outcome.models[0].find("C1 A B 5p" + std::string(300, ' ') + "CM\n+ TC = 0.001    ;"), std::string::npos)
      << outcome.models[0];
  EXPECT_NE(outcome.models[0].find("C3 A " + std::string(300, 'B') + " 3p CM\n+ TC = 0.001    ;"), std::string::npos)
      << outcome.models[0];
}

// The moved parameters that wait share room that is used again once no card
// holds any: elements after their model wait until their own step, while
// one before another model is finished at its step, and a third model's
// moves take room meanwhile; many waiting at once take more than the room's
// first chunk.
TEST(HeldTokens, WaitingParametersInRoomUsedAgainKeepTheirTexts) {
  std::string library;
  for (int block = 0; block < 3; ++block) {
    library += ".SUBCKT S" + std::to_string(block) + " A B\n";
    library += ".MODEL CA CAP(C=1 TC1=0." + std::to_string(block + 1) + " T_ABS=27)\n";
    library += "C0 A B CB 1p\n";
    library += ".MODEL CB CAP(C=1 TC2=0.2)\n";
    library += ".MODEL CC CAP(C=1 T_ABS=30)\n";
    for (int i = 1; i <= 120; ++i) library += "C" + std::to_string(i) + " A B CA " + std::to_string(i) + "p\n";
    library += "CX A B CC 1p\n";
    library += ".ENDS\n";
  }
  testing::TempFile file(library);
  ExpectSameEitherWay(file.path());
  const Outcome outcome = Import(file.path(), false);
  ASSERT_EQ(outcome.models.size(), 3u);
  EXPECT_NE(outcome.models[2].find("C120 A B 120p CA\n+ TC = 0.3    ; Moved here from model: \"CA\"\n"
                                   "+ TEMP = 27    ; Moved here from model: \"CA\"\n"),
            std::string::npos)
      << outcome.models[2];
}

TEST(HeldTokens, GoldenCasesAndTheCorpusGiveTheSameEitherWay) {
  std::vector<fs::path> files;
  for (const fs::path& dir : {fs::path(ZAV_TEST_DATA_DIR) / "golden", fs::path(ZAV_CORPUS_DIR)}) {
    if (!fs::exists(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      const std::string extension = entry.path().extension().string();
      if (extension == ".expected" || extension == ".md" || extension == ".tsv" || extension == ".cpp" || extension.empty()) continue;
      files.push_back(entry.path());
    }
  }
  std::sort(files.begin(), files.end());
  ASSERT_FALSE(files.empty());
  for (const fs::path& file : files) ExpectSameEitherWay(file.string());
}

// A value token that the parse noted stands in a run that is commented out
// ("{}" here, taken for a stray token): the threshold written for ngspice
// afterwards must not land in the comment line, which keeps its text.
TEST(HeldTokens, ACommentedOutRunKeepsItsTextWhenANotedValueInItIsWritten) {
  testing::TempFile stray(".MOD X VSWITCH VON={}E S\nO");
  ExpectSameEitherWay(stray.path(), TranslationTarget::Ngspice);
  const Outcome outcome = Import(stray.path(), false, TranslationTarget::Ngspice);
  ASSERT_FALSE(outcome.models.empty());
  EXPECT_NE(outcome.models[0].find("\n* {}E S\n"), std::string::npos) << outcome.models[0];
  EXPECT_EQ(outcome.models[0].find("* {("), std::string::npos) << outcome.models[0];
}

}  // namespace
}  // namespace zav
