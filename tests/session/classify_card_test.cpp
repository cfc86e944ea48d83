#include "session/classify_card.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "subcircuits/card_maker.h"

namespace zav {
namespace {

using testing::CardMaker;
using testing::FiledDiagnostics;

struct ClassifyCase {
  std::vector<std::string_view> lines;
  CardKind genericKind;             // the kind classification reached
  bool typed;                       // a typed card comes back
  CardKind typedKind;
  std::vector<std::string> messages;  // fragments of the diagnostics, in order
  int diagnosticLine;
};

TEST(ClassifyCardTest, ChoosesTheClassByTheFirstSignificantToken) {
  const std::vector<ClassifyCase> cases = {
      {{".model Q1 NPN\n"}, CardKind::Model, true, CardKind::BjtModel, {}, 0},
      {{".MODULE D1 D\n"}, CardKind::Model, true, CardKind::DiodeModel, {}, 0},
      {{".SUBCKT AMP 1 2 3\n"}, CardKind::Subckt, true, CardKind::Subckt, {}, 0},
      {{".sub AMP\n"}, CardKind::Subckt, true, CardKind::Subckt, {}, 0},
      {{".ENDS AMP\n"}, CardKind::Ends, true, CardKind::Ends, {}, 0},
      {{".ENDSX\n"}, CardKind::Ends, true, CardKind::Ends, {}, 0},
      {{"* lead\n", "R1 1 2 10\n"}, CardKind::Element, true, CardKind::Resistor, {}, 0},
      {{".MODEL Q1\n"}, CardKind::Model, false, CardKind::Unknown, {"does not have a model type"}, 1},
      {{".MODEL D1 D IS=abc\n"}, CardKind::Model, false, CardKind::Unknown, {"not a numeric value"}, 1},
      {{".MODEL M1 NMOS LEVEL=5\n"}, CardKind::Model, false, CardKind::Unknown, {"cannot be translated"}, 1},
      {{".MODEL X1 FOO\n"}, CardKind::Model, false, CardKind::Unknown, {"Unknown model card"}, 1},
      {{".SUBCKT\n"}, CardKind::Subckt, false, CardKind::Unknown, {"does not have a name"}, 1},
      {{".ENDS .X\n"}, CardKind::Ends, false, CardKind::Unknown, {"does not have a name"}, 1},
      {{".END\n"}, CardKind::Control, false, CardKind::Unknown, {"Unknown control card"}, 1},
      {{".PARAM X=1\n"}, CardKind::Control, false, CardKind::Unknown, {"Unknown control card"}, 1},
      {{".OPTIONS\n"}, CardKind::Control, false, CardKind::Unknown, {"Unknown control card"}, 1},
      {{"* lead\n", ".5 V\n"},
       CardKind::Unknown,
       false,
       CardKind::Unknown,
       {"Unexpected token in card \".5\"", "Unknown card type"},
       2},
      {{".\n"}, CardKind::Unknown, false, CardKind::Unknown, {"Invalid", "Unexpected end-of-card"}, 1},
      {{"K1 L1 L2 0.9\n"}, CardKind::Element, false, CardKind::Unknown, {"Unknown element card"}, 1},
  };
  for (const ClassifyCase& c : cases) {
    SCOPED_TRACE(std::string(c.lines.back()));
    TheDiagnosticList().Clear();
    CardMaker maker;
    std::unique_ptr<Card> generic = maker.Generic(c.lines);
    const std::string text = generic->OutputText();
    std::unique_ptr<Card> typed = ClassifyCard(*generic);

    EXPECT_EQ(generic->kind, c.genericKind);
    ASSERT_EQ(typed != nullptr, c.typed);
    if (typed) {
      EXPECT_EQ(typed->kind, c.typedKind);
      EXPECT_TRUE(typed->valid);
      EXPECT_EQ(typed->OutputText(), text);
    } else {
      // A rejected card keeps its lines: the session turns them into comments.
      EXPECT_EQ(generic->OutputText(), text);
      // The generic card serves the next statement, which a rejection here
      // says nothing about.
      EXPECT_TRUE(generic->valid);
    }
    auto filed = FiledDiagnostics();
    ASSERT_EQ(filed.size(), c.messages.size());
    for (std::size_t i = 0; i < filed.size(); ++i) {
      EXPECT_EQ(filed[i].first, c.diagnosticLine);
      EXPECT_NE(filed[i].second.find(c.messages[i]), std::string::npos) << filed[i].second;
    }
  }
}

}  // namespace
}  // namespace zav
