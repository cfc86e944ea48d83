#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cards/card.h"
#include "cards/card_store.h"
#include "diagnostics/diagnostic_list.h"
#include "models/model_card.h"
#include "models/mosfet_model_card.h"
#include "models/param_rule.h"
#include "text/source_line.h"

namespace zav {
namespace {

// The lines of one card and the variant the factory made of them, as
// classification does it: generic card, factory.
struct Built {
  std::deque<SourceLine> lines;
  std::unique_ptr<ModelCard> card;
  std::vector<std::string> diagnostics;
  // How many lines the generic card holds afterwards: a rejected card keeps
  // them all (they become comment lines), an accepted one gives them up.
  std::size_t linesLeft = 0;
};

// `store`: the import's store the card is made in (its target among it);
// none for a card of its own.
std::unique_ptr<Built> Build(std::string_view text, CardStore* store = nullptr) {
  auto built = std::make_unique<Built>();
  int32_t number = 1;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    end = end == std::string_view::npos ? text.size() : end + 1;
    std::string piece(text.substr(0, end));
    const LineKind kind = piece[0] == '+' ? LineKind::Continuation : LineKind::Model;
    built->lines.push_back(SourceLine::MakeOwning(piece, number++, kind));
    text.remove_prefix(end);
  }
  TheDiagnosticList().Clear();
  Card generic;
  generic.store = store;
  for (SourceLine& line : built->lines) generic.AddLine(&line);
  generic.Parse();
  built->card = ModelCard::Create(generic);
  built->linesLeft = generic.lines.size();
  TheDiagnosticList().ForEach([&](const Diagnostic& d) { built->diagnostics.push_back(d.text); });
  TheDiagnosticList().Clear();
  return built;
}

std::string Error(int line, std::string_view quoted, std::string_view message) {
  return "Line " + std::to_string(line) + ":\n\t" + std::string(quoted) + "\nerror -- " +
         std::string(message) + ".\n";
}

std::string NotNumeric(int line, std::string_view quoted, std::string_view value) {
  return Error(line, quoted,
               "\"" + std::string(value) + "\" is not a numeric value. This card will be converted to a comment");
}

struct ParseCase {
  const char* input;
  CardKind kind;  // CardKind::Unknown: rejected
  const char* name;
  const char* type;
  std::vector<std::string> ako;
  std::vector<std::string> params;  // "NAME=VALUE"
  std::vector<std::string> diagnostics;
};

TEST(ModelCardTest, ParsesTheStatementOrRejectsItWithOneDiagnostic) {
  const std::vector<ParseCase> cases = {
      {".model q1 npn(is=1e-16 bf=100)\n", CardKind::BjtModel, "q1", "npn", {}, {"is=1e-16", "bf=100"}, {}},
      {".MODEL 2N2222 NPN IS 1 BF=2\n", CardKind::BjtModel, "2N2222", "NPN", {}, {"IS=1", "BF=2"}, {}},
      {".MODEL D1 D\n", CardKind::DiodeModel, "D1", "D", {}, {}, {}},
      {".MODEL D1 D\n+ IS=1\n+ (N=2)\n", CardKind::DiodeModel, "D1", "D", {}, {"IS=1", "N=2"}, {}},
      {".MODEL RES RES(R=1)\n", CardKind::ResistorModel, "RES", "RES", {}, {"R=1"}, {}},
      {".MODEL B AKO:A NPN BF=2\n", CardKind::BjtModel, "B", "NPN", {"AKO:A"}, {"BF=2"}, {}},
      {".MODEL B ako: A pnp\n", CardKind::BjtModel, "B", "pnp", {"ako:", "A"}, {}, {}},
      {".MODEL M1 NMOS LEVEL=7\n", CardKind::MosfetModel, "M1", "NMOS", {}, {"LEVEL=7"}, {}},
      {".MODEL M1 PMOS W=1u\n", CardKind::MosfetModel, "M1", "PMOS", {}, {"W=1u"}, {}},
      {".MODULE J1 PJF\n", CardKind::JfetModel, "J1", "PJF", {}, {}, {}},
      // The end of the tokens right after a pair, with and without a table
      // to look the names up in (a card with an AKO reference has none yet).
      {".MODEL D1 D IS=1 N=2", CardKind::DiodeModel, "D1", "D", {}, {"IS=1", "N=2"}, {}},
      {".MODEL B AKO:A NPN BF=2", CardKind::BjtModel, "B", "NPN", {"AKO:A"}, {"BF=2"}, {}},
      {".MODEL B AKO: NPN\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL B AKO: NPN", "Model card does not have a model type identifier")}},
      {".MODEL\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL", "Model card does not have a name. This card will be turned into a comment")}},
      {".MODEL .X D\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL .X D", "Model card does not have a name. This card will be turned into a comment")}},
      {".MODEL Q1\n+ 5\n", CardKind::Unknown, "", "", {}, {},
       {Error(2, "+ 5", "Model card does not have a model type identifier")}},
      {".SUBCKT X 1\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".SUBCKT X 1",
              "Should not ever get this. .MODEL Card does not have .MODEL keyword")}},
      {".MODEL D1 D IS=1 5=1\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL D1 D IS=1 5=1", "\"5\" is an invalid model parameter name")}},
      {".MODEL D1 D IS=1\n+ N\n", CardKind::Unknown, "", "", {}, {},
       {Error(2, "+ N", "Value for N is missing")}},
      {".MODEL D1 D IS=1 N", CardKind::Unknown, "", "", {}, {}, {Error(1, ".MODEL D1 D IS=1 N", "Value for N is missing")}},
      {".MODEL B AKO:A NPN BF=2 NF", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL B AKO:A NPN BF=2 NF", "Value for NF is missing")}},
      {".MODEL D1 D IS=1 .X=2\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL D1 D IS=1 .X=2", "\".X\" is an invalid model parameter name")}},
      {".MODEL D1 D IS=abc\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL D1 D IS=abc",
              "\"abc\" is not a numeric value. This card will be converted to a comment")}},
      {".MODEL M1 NMOS\n+ LEVEL=5\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL M1 NMOS",
              "This MOSFET Model has a level \"5\" that cannot be translated.\nThe card will be "
              "turned into a comment")}},
      {".MODEL M1 NMOS level=+A\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL M1 NMOS level=+A",
              "This MOSFET Model has a level \"+A\" that cannot be translated.\nThe card will be "
              "turned into a comment")}},
      {".MODEL X1 FOO IS=1\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL X1 FOO IS=1", "Unknown model card. It will be converted to a comment")}},
  };
  for (const ParseCase& c : cases) {
    auto built = Build(c.input);
    EXPECT_EQ(built->diagnostics, c.diagnostics) << c.input;
    if (c.kind == CardKind::Unknown) {
      EXPECT_EQ(built->card, nullptr) << c.input;
      EXPECT_EQ(built->linesLeft, built->lines.size()) << c.input;
      continue;
    }
    ASSERT_NE(built->card, nullptr) << c.input;
    EXPECT_EQ(built->linesLeft, 0u) << c.input;
    const ModelCard& card = *built->card;
    EXPECT_EQ(card.kind, c.kind) << c.input;
    EXPECT_EQ(card.origin, ImportedModel::Origin::ModelCard) << c.input;
    EXPECT_EQ(card.ModelName(), c.name) << c.input;
    ASSERT_NE(card.modelType, nullptr) << c.input;
    EXPECT_EQ(card.modelType->text, c.type) << c.input;
    std::vector<std::string> ako;
    for (const Token* t : card.akoTokens()) ako.emplace_back(t->text);
    EXPECT_EQ(ako, c.ako) << c.input;
    std::vector<std::string> params;
    for (const ParamEntry& e : card.params()) params.push_back(std::string(e.name->text) + "=" + std::string(e.value->text));
    EXPECT_EQ(params, c.params) << c.input;
    EXPECT_EQ(card.ModelText(), c.input) << c.input;
    EXPECT_FALSE(card.changed) << c.input;
    // The walks leave the list as they found it: nothing after its end.
    ASSERT_NE(card.tokens.back(), nullptr) << c.input;
    EXPECT_EQ(card.tokens.back()->next, nullptr) << c.input;
  }
}

// A value that is no number rejects the card only for a parameter that the
// table of the card's type (for a MOSFET: of its level, wherever LEVEL stands)
// knows; failures are reported in the order the walk meets them.
TEST(ModelCardTest, KeepsTagsTheTableDoesNotKnowAndRejectsTheRest) {
  const std::vector<ParseCase> cases = {
      {".model Q1 NPN(IS=1 mfg=Philips Vceo=45)\n", CardKind::BjtModel, "Q1", "NPN", {},
       {"IS=1", "mfg=Philips", "Vceo=45"}, {}},
      {".MODEL D1 D\n+ Is=2.52n mfg=Motorola type=silicon\n", CardKind::DiodeModel, "D1", "D", {},
       {"Is=2.52n", "mfg=Motorola", "type=silicon"}, {}},
      {".MODEL Q2 AKO:Q1 NPN mfg=.X\n", CardKind::BjtModel, "Q2", "NPN", {"AKO:Q1"}, {"mfg=.X"}, {}},
      // VTO is known at level 1 and unknown at level 4.
      {".MODEL M NMOS(VTO=typ LEVEL=4)\n", CardKind::MosfetModel, "M", "NMOS", {}, {"VTO=typ", "LEVEL=4"}, {}},
      {".MODEL M NMOS(LEVEL=4 VTO=typ)\n", CardKind::MosfetModel, "M", "NMOS", {}, {"LEVEL=4", "VTO=typ"}, {}},
      {".MODEL M NMOS(VTO=typ)\n", CardKind::Unknown, "", "", {}, {},
       {NotNumeric(1, ".MODEL M NMOS(VTO=typ)", "typ")}},
      // XJ is unknown at level 1 and known at level 2; the first LEVEL counts.
      {".MODEL M PMOS(XJ=deep)\n", CardKind::MosfetModel, "M", "PMOS", {}, {"XJ=deep"}, {}},
      {".MODEL M PMOS(XJ=deep level=2 LEVEL=1)\n", CardKind::Unknown, "", "", {}, {},
       {NotNumeric(1, ".MODEL M PMOS(XJ=deep level=2 LEVEL=1)", "deep")}},
      {".MODEL M NMOS(LEVEL=x)\n", CardKind::Unknown, "", "", {}, {},
       {NotNumeric(1, ".MODEL M NMOS(LEVEL=x)", "x")}},
      {".MODEL M NMOS(mfg=x\n+ VTO=typ 5=1)\n", CardKind::Unknown, "", "", {}, {},
       {NotNumeric(2, "+ VTO=typ 5=1)", "typ")}},
      {".MODEL M NMOS(mfg=x 5=1)\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL M NMOS(mfg=x 5=1)", "\"5\" is an invalid model parameter name")}},
      {".MODEL M NMOS(mfg=x KP)\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL M NMOS(mfg=x KP)", "Value for KP is missing")}},
      {".MODEL M NMOS(mfg=x LEVEL=5)\n", CardKind::Unknown, "", "", {}, {},
       {Error(1, ".MODEL M NMOS(mfg=x LEVEL=5)",
              "This MOSFET Model has a level \"5\" that cannot be translated.\nThe card will be "
              "turned into a comment")}},
      {".MODEL D1 D(mfg=x IS=abc)\n", CardKind::Unknown, "", "", {}, {},
       {NotNumeric(1, ".MODEL D1 D(mfg=x IS=abc)", "abc")}},
      // A type the factory does not take keeps no tag.
      {".MODEL X1 FOO mfg=x\n", CardKind::Unknown, "", "", {}, {}, {NotNumeric(1, ".MODEL X1 FOO mfg=x", "x")}},
  };
  for (const ParseCase& c : cases) {
    auto built = Build(c.input);
    EXPECT_EQ(built->diagnostics, c.diagnostics) << c.input;
    if (c.kind == CardKind::Unknown) {
      EXPECT_EQ(built->card, nullptr) << c.input;
      continue;
    }
    ASSERT_NE(built->card, nullptr) << c.input;
    const ModelCard& card = *built->card;
    EXPECT_EQ(card.kind, c.kind) << c.input;
    std::vector<std::string> ako;
    for (const Token* t : card.akoTokens()) ako.emplace_back(t->text);
    EXPECT_EQ(ako, c.ako) << c.input;
    std::vector<std::string> params;
    for (const ParamEntry& e : card.params()) params.push_back(std::string(e.name->text) + "=" + std::string(e.value->text));
    EXPECT_EQ(params, c.params) << c.input;
  }
}

// A comma directly after a value ends it; the card's text stays as written.
// Each model type is found by one probe of a table whose slots no two types
// share: every keyword, in upper, lower and mixed case, builds its variant,
// and words that differ from one by a byte, a length, or a byte above ASCII
// build none.
TEST(ModelCardTest, EveryModelTypeAndNothingElseBuildsAVariant) {
  const std::vector<std::pair<std::string, CardKind>> types = {
      {"NPN", CardKind::BjtModel},          {"PNP", CardKind::BjtModel},
      {"LPNP", CardKind::BjtModel},         {"D", CardKind::DiodeModel},
      {"NJF", CardKind::JfetModel},         {"PJF", CardKind::JfetModel},
      {"NMOS", CardKind::MosfetModel},      {"PMOS", CardKind::MosfetModel},
      {"CAP", CardKind::CapacitorModel},    {"IND", CardKind::InductorModel},
      {"RES", CardKind::ResistorModel},     {"ISWITCH", CardKind::CurrentSwitchModel},
      {"VSWITCH", CardKind::VoltageSwitchModel},
      {"R", CardKind::HostModel},           {"C", CardKind::HostModel},
      {"L", CardKind::HostModel},           {"SW", CardKind::HostModel},
      {"CSW", CardKind::HostModel},
  };
  for (const auto& [type, kind] : types) {
    std::string lower = type;
    for (char& c : lower) c = static_cast<char>(c - 'A' + 'a');
    std::string mixed = lower;
    mixed[0] = type[0];
    for (const std::string& spelling : {type, lower, mixed}) {
      auto built = Build(".MODEL X " + spelling + "\n");
      ASSERT_NE(built->card, nullptr) << spelling;
      EXPECT_EQ(built->card->kind, kind) << spelling;
    }
  }
  for (const char* other : {"NPNX", "NP", "DD", "RESISTOR", "VSWITCHX", "QNPN", "N\xC9MOS", "PMO", "ISWITCh1"}) {
    auto built = Build(std::string(".MODEL X ") + other + "\n");
    EXPECT_EQ(built->card, nullptr) << other;
  }
}

TEST(ModelCardTest, CommasSeparateParameters) {
  struct Case {
    const char* input;
    std::vector<std::string> params;
  };
  const std::vector<Case> cases = {
      {".MODEL QNIX NPN(IS=1E-16,BF=400,KF=1.96E-14,AF=1)\n", {"IS=1E-16", "BF=400", "KF=1.96E-14", "AF=1"}},
      {".MODEL Q NPN(IS=1, BF=2,)\n", {"IS=1", "BF=2"}},
      {".MODEL D1 D(IS=1e-14,\n+ N=1.5)\n", {"IS=1e-14", "N=1.5"}},
      {".MODEL R1 RES(TC=0.01,0.02 R=1)\n", {"TC=0.01,0.02", "R=1"}},
      {".MODEL Q NPN(mfg=Zetex,BF=2)\n", {"mfg=Zetex", "BF=2"}},
      {".MODEL D2 D(KF={1e-11,KFX} IS=1)\n", {"KF=1e-11,KFX}", "IS=1"}},
  };
  for (const Case& c : cases) {
    auto built = Build(c.input);
    EXPECT_TRUE(built->diagnostics.empty()) << c.input;
    ASSERT_NE(built->card, nullptr) << c.input;
    std::vector<std::string> params;
    for (const ParamEntry& e : built->card->params()) {
      params.push_back(std::string(e.name->text) + "=" + std::string(e.value->text));
    }
    EXPECT_EQ(params, c.params) << c.input;
    EXPECT_EQ(built->card->Text(), c.input) << c.input;
    EXPECT_EQ(built->card->ModelText(), c.input) << c.input;
  }

  // The comma splits what the MOSFET level check quotes, too.
  auto level = Build(".MODEL M NMOS(LEVEL=5,W=1u)\n");
  EXPECT_EQ(level->card, nullptr);
  EXPECT_EQ(level->diagnostics, std::vector<std::string>{Error(
                                    1, ".MODEL M NMOS(LEVEL=5,W=1u)",
                                    "This MOSFET Model has a level \"5\" that cannot be translated.\nThe card "
                                    "will be turned into a comment")});
}

// A card parsed again reads its tokens as they are, edits among them: a
// comma an edit wrote splits like one read, though no line holds one.
TEST(ModelCardTest, ParsedAgainAfterAnEditSplitsAtACommaNoLineHolds) {
  auto built = Build(".MODEL Q NPN(IS=1 BF=2)\n");
  ASSERT_NE(built->card, nullptr);
  ModelCard& card = *built->card;
  ASSERT_EQ(card.params().size(), 2u);
  card.tokens.SetText(card.params()[0].value, "1,");
  card.Parse();
  ASSERT_TRUE(card.valid);
  ASSERT_EQ(card.params().size(), 2u);
  EXPECT_EQ(card.params()[0].value->text, "1");
  ASSERT_NE(card.params()[0].value->next, nullptr);
  EXPECT_EQ(card.params()[0].value->next->kind, TokenKind::Comma);
  EXPECT_EQ(card.params()[1].name->text, "BF");
  EXPECT_EQ(card.Text(), ".MODEL Q NPN(IS=1, BF=2)\n");
}

TEST(ModelCardTest, VariantPointsAtItsOwnTokensByPosition) {
  // A parameter named like the model must not be taken for the model's name.
  auto built = Build(".MODEL R RES R=1 R=2\n");
  ASSERT_NE(built->card, nullptr);
  const ModelCard& card = *built->card;
  std::vector<const Token*> order;
  for (const Token* t = card.tokens.front(); t != nullptr; t = t->next) order.push_back(t);
  ASSERT_EQ(order.size(), 14u);
  EXPECT_EQ(card.nameToken, order[2]);
  EXPECT_EQ(card.modelType, order[4]);
  ASSERT_EQ(card.params().size(), 2u);
  EXPECT_EQ(card.params()[0].name, order[6]);
  EXPECT_EQ(card.params()[0].value, order[8]);
  EXPECT_EQ(card.params()[1].name, order[10]);
  EXPECT_EQ(card.params()[1].value, order[12]);
}

TEST(ModelCardTest, FindParamIgnoresCaseAndFindsTheFirstOfTwo) {
  auto built = Build(".MODEL M1 NMOS(level=2 W=1 w=2 LEVELS=3)\n");
  ASSERT_NE(built->card, nullptr);
  ModelCard& card = *built->card;
  ASSERT_NE(card.FindParam("LEVEL"), nullptr);
  EXPECT_EQ(card.FindParam("LEVEL")->value->text, "2");
  EXPECT_EQ(card.FindParam("W")->value->text, "1");
  EXPECT_EQ(card.FindParam("LEVELS")->value->text, "3");
  EXPECT_EQ(card.FindParam("L"), nullptr);
}

TEST(ModelCardTest, MosfetChoosesItsTableOnceByLevel) {
  struct Case {
    const char* input;
    int level;
    std::size_t rows;
  };
  const std::vector<Case> cases = {
      {".MODEL M NMOS\n", 1, 51},          {".MODEL M NMOS LEVEL=1\n", 1, 51},
      {".MODEL M NMOS LEVEL=2\n", 2, 55},  {".MODEL M PMOS LEVEL=3.0\n", 3, 54},
      {".MODEL M NMOS LEVEL=4\n", 4, 96},  {".MODEL M NMOS LEVEL=7\n", 7, 307},
  };
  for (const Case& c : cases) {
    auto built = Build(c.input);
    ASSERT_NE(built->card, nullptr) << c.input;
    auto& mosfet = static_cast<MosfetModelCard&>(*built->card);
    EXPECT_EQ(mosfet.level, -1) << c.input;
    EXPECT_EQ(mosfet.RuleTable().size(), c.rows) << c.input;
    EXPECT_EQ(mosfet.level, c.level) << c.input;
    // A LEVEL changed afterwards does not change the choice.
    if (ParamEntry* level = mosfet.FindParam("LEVEL")) level->value->text = "2";
    EXPECT_EQ(mosfet.RuleTable().size(), c.rows) << c.input;
  }
}

// The translation passes over an entry the parse noted as kept as written,
// and takes the row it noted for the others: both must be what the card's
// own table says, for either target, whichever MOSFET table the LEVEL picks
// and wherever the LEVEL stands.
TEST(ModelCardTest, RowsTheParseNotesAreThoseOfTheCardsOwnTable) {
  const char* const inputs[] = {
      ".MODEL Q NPN(IS=1E-16 bf=400 CCS=2 GAMMA=1 mfg=Zetex TC1=1 FOO=3 ik=2 Nf=1 Foo=2)\n",
      ".MODEL D1 D(IS=1e-14,N=1.5 T_ABS=30 TT=1n)\n",
      ".MODEL J NJF(VTO=-2 BETA=1m mfg=X)\n",
      ".MODEL M NMOS(mfg=X W=1u LEVEL=2 L=1u VTO=1 KP=2 TOX=1n)\n",
      ".MODEL M PMOS(mfg=X W=1u L=1u VTO=1 T_MEASURED=20)\n",
      ".MODEL M NMOS(LEVEL=7 VTH0=1 K1=2 XJ=1 W=1u TNOM=27 mfg=X)\n",
      ".MODEL M NMOS(TOX=1 LEVEL=4 VFB=1 W=1u mfg=X)\n",
      ".MODEL M PMOS(LEVEL=3 THETA=1 W=1u KAPPA=2 mfg=X)\n",
      ".MODEL M NMOS(W=1u VTO=1 LEVEL=1.0)\n",
      ".MODEL C1 CAP(C=1 TC1=0.001 TC2=1E-6 VC1=1)\n",
      ".MODEL L1 IND(L=1 IL1=1 TC1=1)\n",
      ".MODEL R1 RES(R=1 TC1=1 TCE=2 T_ABS=3)\n",
      ".MODEL S1 VSWITCH(RON=1 ROFF=1MEG VON=1 VOFF=0)\n",
      ".MODEL W1 ISWITCH(ION=1m IOFF=0 RON=1)\n",
  };
  for (const TranslationTarget target : {TranslationTarget::Host, TranslationTarget::Ngspice}) {
    for (const char* input : inputs) {
      SCOPED_TRACE(input);
      CardStore store;
      store.target = target;
      auto built = Build(input, &store);
      ASSERT_NE(built->card, nullptr);
      ModelCard& card = *built->card;
      const ParamRuleTable table = card.RuleTable();
      ASSERT_FALSE(card.params().empty());
      for (const ParamEntry& entry : card.params()) {
        SCOPED_TRACE(entry.name->text);
        const ParamRule* rule = FindRule(table, entry.name->text);
        if (rule == nullptr) {
          EXPECT_EQ(entry.row, ModelCard::kNoRule);
        } else if (rule->action == ParamAction::Keep && entry.value->kind == TokenKind::Number) {
          EXPECT_EQ(entry.row, ModelCard::kKeptAsWritten);
        } else {
          EXPECT_EQ(entry.row, rule - table.data());
        }
      }
    }
  }

  // A card with an AKO reference may get its LEVEL from it: it looks its
  // rows up when it is translated.
  auto ako = Build(".MODEL M2 AKO:M NMOS(W=1u VTO=1)\n");
  ASSERT_NE(ako->card, nullptr);
  for (const ParamEntry& entry : ako->card->params()) EXPECT_EQ(entry.row, ModelCard::kNotLookedUp);
}

}  // namespace
}  // namespace zav
