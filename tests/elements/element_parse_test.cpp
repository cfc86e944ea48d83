#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "cards/brace_expression.h"
#include "diagnostics/diagnostic_list.h"
#include "elements/element_builder.h"

namespace zav {
namespace {

using testing::BuildElement;

std::string JoinPins(const ElementCard& card) {
  std::string out;
  for (const Token* pin : card.pins()) {
    if (!out.empty()) out += ' ';
    out += pin->text;
  }
  return out;
}

// A value's text: its token's, or the whole brace expression it begins.
std::string ValueText(const ElementCard& card, Token* value) {
  if (value->kind != TokenKind::OpenBrace) return std::string(value->text);
  BraceExpressionIndex braces;
  const BraceExpression expression = braces.Find(card.tokens, value);
  std::string out;
  for (const Token* t = expression.open; t != expression.last; t = t->next) out += t->text;
  out += expression.last->text.substr(0, expression.end);
  return out;
}

// "row:value" per positional field, "row:KEYWORD=value" per keyword field.
std::string DescribeFields(const ElementCard& card) {
  std::string out;
  for (const ParamEntry& entry : card.params()) {
    if (!out.empty()) out += ' ';
    out += std::to_string(entry.row) + ':';
    if (entry.name != nullptr) {
      out += entry.name->text;
      out += '=';
    }
    out += ValueText(card, entry.value);
  }
  return out;
}

std::vector<Diagnostic> Diagnostics() {
  std::vector<Diagnostic> all;
  TheDiagnosticList().ForEach([&](const Diagnostic& d) { all.push_back(d); });
  return all;
}

TEST(ElementFactory, ChoosesTheClassByFirstLetterInEitherCase) {
  struct Case {
    const char* input;
    CardKind kind;
    uint32_t minPins;
    uint32_t maxPins;
    CardKind modelKind;
  };
  const Case cases[] = {
      {"C1 1 2 10p\n", CardKind::Capacitor, 2, 2, CardKind::CapacitorModel},
      {"D1 1 2 DMOD\n", CardKind::Diode, 2, 2, CardKind::DiodeModel},
      {"E1 1 2 3 4 2.0\n", CardKind::VoltageControlledSource, 2, 2, CardKind::Unknown},
      {"G1 1 2 3 4 2.0\n", CardKind::VoltageControlledSource, 2, 2, CardKind::Unknown},
      {"F1 1 2 VC 2.0\n", CardKind::CurrentControlledSource, 2, 2, CardKind::Unknown},
      {"H1 1 2 VC 2.0\n", CardKind::CurrentControlledSource, 2, 2, CardKind::Unknown},
      {"I1 1 0 DC 1m\n", CardKind::IndependentSource, 2, 2, CardKind::Unknown},
      {"U1 1 0 DC 1\n", CardKind::IndependentSource, 2, 2, CardKind::Unknown},
      {"V1 1 0 DC 5\n", CardKind::IndependentSource, 2, 2, CardKind::Unknown},
      {"J1 d g s JMOD\n", CardKind::Jfet, 3, 3, CardKind::JfetModel},
      {"L1 1 2 1u\n", CardKind::Inductor, 2, 2, CardKind::InductorModel},
      {"M1 d g s b NMOD\n", CardKind::Mosfet, 4, 4, CardKind::MosfetModel},
      {"Q1 c b e QMOD\n", CardKind::Bjt, 3, 4, CardKind::BjtModel},
      {"R1 1 2 10k\n", CardKind::Resistor, 2, 2, CardKind::ResistorModel},
      {"S1 1 2 3 4 SMOD\n", CardKind::VoltageSwitch, 2, 2, CardKind::VoltageSwitchModel},
      {"W1 1 2 VC WMOD\n", CardKind::CurrentSwitch, 2, 2, CardKind::CurrentSwitchModel},
      {"X1 a b SUB\n", CardKind::SubcktCall, 0, 0, CardKind::Subckt},
  };
  for (const Case& c : cases) {
    for (bool lower : {false, true}) {
      std::string input = c.input;
      if (lower) input[0] = static_cast<char>(input[0] - 'A' + 'a');
      TheDiagnosticList().Clear();
      auto built = BuildElement(input);
      ASSERT_NE(built->card, nullptr) << input;
      EXPECT_EQ(built->card->kind, c.kind) << input;
      EXPECT_EQ(built->card->minPins(), c.minPins) << input;
      EXPECT_EQ(built->card->maxPins(), c.maxPins) << input;
      EXPECT_EQ(built->card->modelKind(), c.modelKind) << input;
      EXPECT_EQ(TheDiagnosticList().Count(), 0u) << input;
    }
  }
}

TEST(ElementFactory, RejectsUnknownLettersWithDiagnostic10) {
  for (const char* input : {"K1 L1 L2 0.99\n", "k1 L1 L2 0.99\n", "A1 1 2\n", "B1 1 2 V=1\n", "N1 1 2\n",
                            "O1 1 2\n", "P1 1 2\n", "T1 1 2 3 4\n", "Y1 1 2\n", "Z1 1 2\n", "[x] 1 2\n",
                            "]x 1 2\n", "_x 1 2\n"}) {
    TheDiagnosticList().Clear();
    auto built = BuildElement(input);
    EXPECT_EQ(built->card, nullptr) << input;
    auto diagnostics = Diagnostics();
    ASSERT_EQ(diagnostics.size(), 1u) << input;
    EXPECT_NE(diagnostics[0].text.find("Unknown element card"), std::string::npos) << input;
    EXPECT_EQ(diagnostics[0].lineNumber, 1) << input;
  }
}

// Accepted cards: what the pins, fields and model name are.
TEST(ElementParse, RecordsPinsFieldsAndModelName) {
  struct Case {
    const char* input;
    const char* pins;
    const char* fields;
    const char* model;  // "" for none
  };
  const Case cases[] = {
      {"D1 1 2\n", "1 2", "", ""},
      {"D1 1 2 DMOD 2.0 EXTRA\n", "1 2", "0:DMOD 1:2.0", "DMOD"},
      {"D1 1 2 1N4148\n", "1 2", "0:1N4148", "1N4148"},
      {"J1 d g s JMOD 3\n", "d g s", "0:JMOD 1:3", "JMOD"},
      // A name ends the optional pins; numbers and bracketed names do not.
      {"Q1 nc nb ne QMOD\n", "nc nb ne", "0:QMOD", "QMOD"},
      {"Q1 nc nb ne 5 QMOD\n", "nc nb ne 5", "0:QMOD", "QMOD"},
      {"Q1 nc nb ne [sub] QMOD 2\n", "nc nb ne [sub]", "0:QMOD 1:2", "QMOD"},
      {"Q1 nc nb ne sub] QMOD\n", "nc nb ne sub]", "0:QMOD", "QMOD"},
      {"Q1 nc nb ne\n", "nc nb ne", "", ""},
      // Required pins take any name, even one meant as the model.
      {"M1 d g s NMOD\n", "d g s NMOD", "", ""},
      {"M1 d g s b NMOD L=1u W=2u\n", "d g s b", "0:NMOD 1:L=1u 2:W=2u", "NMOD"},
      {"M1 d g s b NMOD\n+ L=1u\n+ W=2u M=4\n", "d g s b", "0:NMOD 1:L=1u 2:W=2u 11:M=4", "NMOD"},
      // Keyword fields in any order and any letter case, each once; other
      // words between them are passed over.
      {"M1 d g s b NMOD W=2u L=1u\n", "d g s b", "0:NMOD 2:W=2u 1:L=1u", "NMOD"},
      {"M1 d g s b NMOD l=1u\n", "d g s b", "0:NMOD 1:l=1u", "NMOD"},
      {"M1 d g s b NMOD OFF m=2 L=1u L=3u\n", "d g s b", "0:NMOD 11:m=2 1:L=1u", "NMOD"},
      // A name in the model name's place stays the model name.
      {"M1 d g s b L=1u\n", "d g s b", "0:L", "L"},
      // A brace expression is one value, and a keyword inside it is no field.
      {"M1 d g s b NMOD W={2*X} l={ L }\n", "d g s b", "0:NMOD 2:W={2*X} 1:l={ L }", "NMOD"},
      {"M1 d g s b NMOD\n+ W={X*2}\n", "d g s b", "0:NMOD 2:W={X*2}", "NMOD"},
      // An expression names no model.
      {"D1 1 2 {DMOD}\n", "1 2", "0:{DMOD}", ""},
      {"Q1 nc nb ne {X} 2\n", "nc nb ne", "0:{X} 1:2", ""},
      {"S1 1 2 3 4 SMOD\n", "1 2", "0:3 1:4 2:SMOD", "SMOD"},
      {"S1 1 2 3 4\n", "1 2", "0:3 1:4", ""},
      {"W1 1 2 VC WMOD\n", "1 2", "0:VC 1:WMOD", "WMOD"},
      {"F1 1 2 VC 2.0\n", "1 2", "0:VC", "VC"},
      {"H1 1 2 POLY(2) VA VB 0 1 1\n", "1 2", "0:POLY", "POLY"},
      // Value elements: the model name is optional and comes first.
      {"C1 1 2 10p\n", "1 2", "1:10p", ""},
      {"C1 1 2 CMOD 10p IC=1\n", "1 2", "0:CMOD 1:10p 2:IC=1", "CMOD"},
      {"C1 1 2 10p IC=1\n", "1 2", "1:10p 2:IC=1", ""},
      {"L1 1 2 LMOD 1u IC=2m\n", "1 2", "0:LMOD 1:1u 2:IC=2m", "LMOD"},
      {"R1 1 2 RMOD\n", "1 2", "1:RMOD", ""},
      {"R1 1 2 10k TC=0.01 0.02\n", "1 2", "1:10k 2:TC=0.01 3:0.02", ""},
      {"R1 1 2 RMOD 10k TC=0.01\n", "1 2", "0:RMOD 1:10k 2:TC=0.01", "RMOD"},
      {"R1 1 2 10k tc=0.01\n", "1 2", "1:10k 2:tc=0.01", ""},
      // Brace expressions as values: alone, after a model name, before one,
      // with blanks, over a line break, around braces in words and comment
      // lines, and one that never closes (it ends with its line).
      {"C3 18 100 {DT/(1000*4.14)}\n", "18 100", "1:{DT/(1000*4.14)}", ""},
      {"RSB 12 9 RTEMP {1.4E-3/2.3779*1.95-0.25e-3}\n", "12 9", "0:RTEMP 1:{1.4E-3/2.3779*1.95-0.25e-3}",
       "RTEMP"},
      {"C1 1 2 CMOD {C0*2} IC=1\n", "1 2", "0:CMOD 1:{C0*2} 2:IC=1", "CMOD"},
      {"R1 9 Ground {R1_Value} TC=0.001\n", "9 Ground", "1:{R1_Value} 2:TC=0.001", ""},
      {"R2 1 2 {A} RMOD\n", "1 2", "1:{A}", ""},
      {"R2 1 2 {A} 5\n", "1 2", "1:{A} 3:5", ""},
      {"Ri 1 3 { VAC/IA }\n", "1 3", "1:{ VAC/IA }", ""},
      {"R1 5 0 {1.184*PWR(NVRF,2)}\n", "5 0", "1:{1.184*PWR(NVRF,2)}", ""},
      {"R3 1 2 RMOD {A+\n+ B} TC=1\n", "1 2", "0:RMOD 1:{A+\n+ B} 2:TC=1", "RMOD"},
      {"R3 1 2 RMOD {A+\n* }\n+ B}\n", "1 2", "0:RMOD 1:{A+\n* }\n+ B}", "RMOD"},
      {"R3 1 2 RMOD {A{B}C} TC=1\n", "1 2", "0:RMOD 1:{A{B}C} 2:TC=1", "RMOD"},
      {"L1 1 2 LMOD {A+(B \n+ IC=1\n", "1 2", "0:LMOD 1:{A+(B 2:IC=1", "LMOD"},
      {"L1 1 2 LMOD {\n", "1 2", "0:LMOD 1:{", "LMOD"},
      {"R1 1 2 10k 5\n", "1 2", "0:10k 1:5", "10k"},
      // Only the form check and the keyword check run for these.
      {"E1 1 2 3 4 2.0\n", "", "", ""},
      {"E1 1 2 POLY(1) 3 4 0 1\n", "", "", ""},
      {"V1 1 0 DC 5\n", "", "", ""},
      {"V1 1 0 SIN(0 1 1k)\n", "", "", ""},
      {"V1 FILE 0 DC 5\n", "", "", ""},
      {"V1\n", "", "", ""},
      // Instances: the subcircuit is the last token before PARAMS:/TEXT:.
      {"X1 a b SUB PARAMS: W=1\n", "a b", "", "SUB"},
      {"X1 a b SUB params: W=1\n", "a b", "", "SUB"},
      {"X1 a b SUB\n+ TEXT: F=abc\n", "a b", "", "SUB"},
      {"X1 a b SUB W=1\n", "a b SUB W", "", "1"},
      {"X1 a b .x SUB\n", "a b .x", "", "SUB"},
      // Nothing names a subcircuit: an instance without a model.
      {"X1\n", "", "", ""},
      {"X1 PARAMS: W=1\n", "", "", ""},
      {"X1 TEXT: F=abc\n", "", "", ""},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    auto built = BuildElement(c.input);
    ASSERT_NE(built->card, nullptr) << c.input;
    const ElementCard& card = *built->card;
    EXPECT_EQ(TheDiagnosticList().Count(), 0u) << c.input;
    const bool recordsNothing =
        card.kind == CardKind::VoltageControlledSource || card.kind == CardKind::IndependentSource;
    EXPECT_EQ(card.nameToken, recordsNothing ? nullptr : card.tokens.front()) << c.input;
    EXPECT_EQ(JoinPins(card), c.pins) << c.input;
    EXPECT_EQ(DescribeFields(card), c.fields) << c.input;
    EXPECT_EQ(card.modelName() != nullptr ? card.modelName()->text : "", c.model) << c.input;
    EXPECT_FALSE(card.changed) << c.input;
  }
}

// Rejected cards: the single diagnostic, its line and its argument.
TEST(ElementParse, RejectsMalformedCardsWithOneDiagnostic) {
  struct Case {
    const char* input;
    int line;
    const char* message;
  };
  const Case cases[] = {
      {"D1 1 .x DMOD\n", 1, "invalid pin name \".x\""},
      {"Q1 c b e .sub QMOD\n", 1, "invalid pin name \".sub\""},
      {"J1 d g\n", 1, "does not have enough pins"},
      {"M1 d g\n+ s\n", 1, "does not have enough pins"},
      {"M1 d g s b NMOD L=\n", 1, "Value for L is missing"},
      {"M1 d g s b NMOD\n+ W=\n", 2, "Value for W is missing"},
      {"M1 d g s b NMOD L=W\n", 1, "Value for L is missing"},
      {"S1 1 2 .c 4 SMOD\n", 1, "Value for CtlVoltPos is missing"},
      {"W1 1 2 VC .m\n", 1, "Value for ModelName is missing"},
      {"R1 1 2\n", 1, "Value for Value is missing"},
      {"L1 1 2 .x\n", 1, "Value for .x is missing"},
      {"C1 1 2 CMOD 10p IC=\n", 1, "Value for IC is missing"},
      {"M1 d g s b NMOD W=1u FOO=2\n+ l=\n", 2, "Value for l is missing"},
      {"R1 1 2 RMOD {A} tc=\n", 1, "Value for tc is missing"},
      {"E1 1 2 VALUE={V(3)}\n", 1, "form that is not supported"},
      {"G1 1 2 TABLE\n", 1, "form that is not supported"},
      {"e1 1 2\n+ laplace {V(3)} {1/s}\n", 2, "form that is not supported"},
      {"E1 1 2\n", 1, "not have enough tokens"},
      {"V1 1 0 PWL FILE data\n", 1, "form that is not supported"},
      {"I1 1 0 STIMULUS=s1\n", 1, "form that is not supported"},
      {"V1 1 0 PWL\n+ repeat forever (0 0 1 1) endrepeat\n", 2, "form that is not supported"},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    auto built = BuildElement(c.input);
    EXPECT_EQ(built->card, nullptr) << c.input;
    auto diagnostics = Diagnostics();
    ASSERT_EQ(diagnostics.size(), 1u) << c.input;
    EXPECT_NE(diagnostics[0].text.find(c.message), std::string::npos) << c.input << diagnostics[0].text;
    EXPECT_NE(diagnostics[0].text.find("error -- "), std::string::npos) << c.input;
    EXPECT_EQ(diagnostics[0].lineNumber, c.line) << c.input;
  }
}

// Each unclosed brace is looked for to the end of its card; a card of many
// lines, each with one, must still parse in time that grows with its length.
TEST(ElementParse, ManyUnclosedBracesParseInLinearTime) {
  auto timeParse = [](int lines) {
    std::string text = "M1 d g s b NMOD\n";
    for (int i = 0; i < lines; ++i) text += "+ X={A*(B\n";
    text += "+ L=1u\n";
    const auto start = std::chrono::steady_clock::now();
    auto built = BuildElement(text);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_NE(built->card, nullptr);
    if (built->card != nullptr) {
      EXPECT_EQ(DescribeFields(*built->card), "0:NMOD 1:L=1u");
    }
    return seconds;
  };
  TheDiagnosticList().Clear();
  const double small = timeParse(5000);
  const double large = timeParse(50000);
  EXPECT_LT(large, small * 30 + 0.5) << "5k: " << small << " s, 50k: " << large << " s";
  TheDiagnosticList().Clear();
}

// Expressions seldom nest; one twenty levels deep (deeper than the matching
// keeps in place) must still pair every close brace with its own open one,
// and the expression after it must begin and end where it does.
TEST(ElementParse, MatchesBracesNestedTwentyDeep) {
  std::string value = "{A";
  for (int level = 0; level < 20; ++level) value += "{B";
  for (int level = 0; level < 20; ++level) value += "}";
  value += "}";
  TheDiagnosticList().Clear();
  auto built = BuildElement("R3 1 2 RMOD " + value + " TC={X}\n");
  ASSERT_NE(built->card, nullptr);
  EXPECT_EQ(DescribeFields(*built->card), "0:RMOD 1:" + value + " 2:TC={X}");
  EXPECT_EQ(TheDiagnosticList().Count(), 0u);
}

// More expressions in one card than the matching keeps in place: the ones
// after them still begin and end where they do.
TEST(ElementParse, FindsExpressionsPastTheFirstFew) {
  TheDiagnosticList().Clear();
  auto built = BuildElement("R3 1 2 {a} {b} {c}\n+ {d} {e} TC={f+{g}} {h}\n");
  ASSERT_NE(built->card, nullptr);
  EXPECT_EQ(DescribeFields(*built->card), "1:{a} 3:{b} 2:TC={f+{g}}");
  EXPECT_EQ(TheDiagnosticList().Count(), 0u);
}

TEST(ElementLink, ReportsAModelReferenceOutsideASubcircuit) {
  TheDiagnosticList().Clear();
  auto withModel = BuildElement("D1 1 2 DMOD\n");
  auto withoutModel = BuildElement("D2 1 2\n");
  ASSERT_NE(withModel->card, nullptr);
  ASSERT_NE(withoutModel->card, nullptr);
  withModel->card->Link();
  withoutModel->card->Link();
  auto diagnostics = Diagnostics();
  ASSERT_EQ(diagnostics.size(), 1u);
  EXPECT_NE(diagnostics[0].text.find("unexpected in this context"), std::string::npos);
  EXPECT_EQ(diagnostics[0].lineNumber, 1);
}

}  // namespace
}  // namespace zav
