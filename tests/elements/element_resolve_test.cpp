#include <gtest/gtest.h>

#include <string>

#include "diagnostics/diagnostic_list.h"
#include "elements/element_builder.h"

namespace zav {
namespace {

using testing::BuildElement;

// The text written out after the translate step, and what the model name then
// refers to.
TEST(ElementResolve, RewritesTheCardForTheHost) {
  struct Case {
    const char* input;
    const char* output;
    const char* model;  // "" for none
  };
  const Case cases[] = {
      {"C1 1 2 10p\n", "C1 1 2 10p\n", ""},
      {"C1 1 2 CMOD 10p IC=1\n", "C1 1 2 10p CMOD IC=1\n", "CMOD"},
      {"L1  1 2\tLMOD   1u\n", "L1  1 2\t1u   LMOD\n", "LMOD"},
      {"R1 1 2 RMOD\n+ 10k TC=0.01\n", "R1 1 2 10k\n+ RMOD TC=0.01\n", "RMOD"},
      {"R1 1 2 10k TC=0.01 0.02\n", "R1 1 2 10k TC=0.01 0.02\n", ""},
      // A brace expression moves whole; what stands between the two stays.
      {"RSB 12 9 RTEMP {1.4E-3/2.3779*1.95-0.25e-3}\n", "RSB 12 9 {1.4E-3/2.3779*1.95-0.25e-3} RTEMP\n",
       "RTEMP"},
      {"C1 1 2 CMOD {C0*2} IC=1\n", "C1 1 2 {C0*2} CMOD IC=1\n", "CMOD"},
      {"C3 18 100 {DT/(1000*4.14)}\n", "C3 18 100 {DT/(1000*4.14)}\n", ""},
      {"R2 1 2 {A} RMOD\n", "R2 1 2 {A} RMOD\n", ""},
      {"L1 1 2\tLMOD  { A + B }\n", "L1 1 2\t{ A + B }  LMOD\n", "LMOD"},
      {"R3 1 2 RMOD\n+ {A+\n+ B} TC=1\n", "R3 1 2 {A+\n+ B}\n+ RMOD TC=1\n", "RMOD"},
      {"R4 1 2 RMOD {A+(B \n+ TC=1\n", "R4 1 2 {A+(B RMOD \n+ TC=1\n", "RMOD"},
      {"R4 1 2 RMOD {", "R4 1 2 { RMOD", "RMOD"},
      {"Q1 nc nb ne [sub] QMOD\n", "Q1 nc nb ne sub QMOD\n", "QMOD"},
      {"Q1 nc nb ne [sub QMOD\n", "Q1 nc nb ne [sub QMOD\n", "QMOD"},
      {"Q1 nc nb ne sub] QMOD\n", "Q1 nc nb ne sub] QMOD\n", "QMOD"},
      // An empty pair of brackets names no node; removing it would lose the pin.
      {"Q1 nc nb ne [] QMOD\n", "Q1 nc nb ne [] QMOD\n", "QMOD"},
      {"X1 a b SUB PARAMS: W=1\n", "X1 a b SUB W=1\n", "SUB"},
      {"X1 a b SUB Params: W=1 PARAMS: V=2\n", "X1 a b SUB W=1 PARAMS: V=2\n", "SUB"},
      {"X1 a b SUB PARAMS:\n+ W=1\n", "X1 a b SUB \n+ W=1\n", "SUB"},
      // The marker only on a continuation line, in lower case.
      {"X1 a b SUB\n+ params: W=1\n", "X1 a b SUB\n+ W=1\n", "SUB"},
      // The line feed after "PARAMS: " must survive, or the next line joins this one.
      {"X1 a b SUB PARAMS: \t\n+ W=1\n", "X1 a b SUB \n+ W=1\n", "SUB"},
      {"X1 a b SUB TEXT: F=abc\n", "X1 a b SUB\n* TEXT: F=abc\n", "SUB"},
      {"X1 a b SUB\n+ TEXT: F=abc\n+ G=def\n", "X1 a b SUB\n* TEXT: F=abc\n* G=def\n", "SUB"},
      {"X1 a b SUB PARAMS: W=1 TEXT: F=abc\n", "X1 a b SUB W=1\n* TEXT: F=abc\n", "SUB"},
      {"X1 PARAMS: W=1\n", "X1 W=1\n", ""},
      {"X1\n", "X1\n", ""},
      {"M1 d g s b NMOD L=1u\n", "M1 d g s b NMOD L=1u\n", "NMOD"},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    auto built = BuildElement(c.input);
    ASSERT_NE(built->card, nullptr) << c.input;
    built->card->Resolve();
    EXPECT_EQ(built->card->OutputText(), c.output) << c.input;
    const Token* model = built->card->modelName();
    EXPECT_EQ(model != nullptr ? model->text : "", c.model) << c.input;
    EXPECT_EQ(TheDiagnosticList().Count(), 0u) << c.input;
  }
}

// The tokenizer keeps the rest of a line from a "*" that begins a token as
// one comment token (with diagnostic 12); a brace expression may close
// inside it, and only the expression changes place.
TEST(ElementResolve, SwapsAnExpressionThatEndsInsideARejectedRest) {
  struct Case {
    const char* input;
    const char* output;
    const char* model;
  };
  const Case cases[] = {
      {"R5 1 2 RMOD {A*(B)*C} TC=1\n", "R5 1 2 {A*(B)*C} RMOD TC=1\n", "RMOD"},
      {"R5 1 2 RMOD {A*(B)*C}", "R5 1 2 {A*(B)*C} RMOD", "RMOD"},
      {"CP1 110 0 {1/(6.28*(GAIN/100U)*POLE)}\n", "CP1 110 0 {1/(6.28*(GAIN/100U)*POLE)}\n", ""},
      {"C1 4 0 CMOD {1/(6.28*(GAIN/GG)*POLE)} IC=0\n", "C1 4 0 {1/(6.28*(GAIN/GG)*POLE)} CMOD IC=0\n", "CMOD"},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    auto built = BuildElement(c.input);
    ASSERT_NE(built->card, nullptr) << c.input;
    EXPECT_EQ(TheDiagnosticList().Count(), 1u) << c.input;
    built->card->Resolve();
    EXPECT_EQ(built->card->OutputText(), c.output) << c.input;
    const Token* model = built->card->modelName();
    EXPECT_EQ(model != nullptr ? model->text : "", c.model) << c.input;
  }
}

// After the swap the field entries keep their rows and the model name token
// keeps the Name kind, so later edits and lookups see a consistent card.
TEST(ElementResolve, SwapKeepsRowsAndTokenKinds) {
  auto built = BuildElement("C1 1 2 CMOD 10p IC=1\n");
  ASSERT_NE(built->card, nullptr);
  ElementCard& card = *built->card;
  card.Resolve();
  ASSERT_EQ(card.params().size(), 3u);
  EXPECT_EQ(card.params()[0].row, 0);
  EXPECT_EQ(card.params()[1].row, 1);
  EXPECT_EQ(card.params()[1].value, card.modelName());
  EXPECT_EQ(card.modelName()->kind, TokenKind::Name);
  EXPECT_EQ(card.params()[0].value->kind, TokenKind::Number);
  EXPECT_EQ(card.params()[0].value->text, "10p");
  EXPECT_TRUE(card.changed);

  // A brace value: entry 0 now begins the expression.
  auto braced = BuildElement("C1 1 2 CMOD {C0*2} IC=1\n");
  ASSERT_NE(braced->card, nullptr);
  braced->card->Resolve();
  EXPECT_EQ(braced->card->params()[1].value, braced->card->modelName());
  EXPECT_EQ(braced->card->modelName()->text, "CMOD");
  EXPECT_EQ(braced->card->params()[0].value->kind, TokenKind::OpenBrace);
  EXPECT_EQ(braced->card->params()[0].value->next->text, "C0*2}");
}

}  // namespace
}  // namespace zav
