#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "subcircuits/card_maker.h"
#include "subcircuits/ends_card.h"
#include "subcircuits/subckt_card.h"

namespace zav {
namespace {

using testing::CardMaker;
using testing::FiledDiagnostics;

constexpr const char* kNotKeyword = "Should not ever get this. .MODEL Card does not have .MODEL keyword";
constexpr const char* kNoName = "Model card does not have a name.";

struct ParseCase {
  std::vector<std::string_view> lines;
  bool ends;                 // build an EndsCard, else a SubcktCard
  bool valid;
  const char* name;          // expected name token text, or none
  int diagnosticLine;        // 0: no diagnostic expected
  const char* message;
};

TEST(SubcktCardTest, ParsesNameAndRejectsWhatIsNotAHeader) {
  const std::vector<ParseCase> cases = {
      {{".sub 7400 a b\n"}, false, true, "7400", 0, nullptr},
      {{"* note\n", ".SUBCKT\n", "+ AMP 1\n"}, false, true, "AMP", 0, nullptr},
      {{".SUBCKT\n", "+ .X 1\n"}, false, false, nullptr, 2, kNoName},
      {{".MODEL D1 D\n"}, false, false, nullptr, 1, kNotKeyword},
      {{".ENDS\n"}, true, true, nullptr, 0, nullptr},
      {{".ENDSX 5\n"}, true, true, "5", 0, nullptr},
      {{".ENDS .X\n"}, true, false, nullptr, 1, kNoName},
      {{".END\n"}, true, false, nullptr, 1, kNotKeyword},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(std::string(c.lines.front()) + (c.lines.size() > 1 ? std::string(c.lines[1]) : ""));
    TheDiagnosticList().Clear();
    CardMaker maker;
    std::unique_ptr<Card> generic = maker.Generic(c.lines);

    std::unique_ptr<Card> typed;
    if (c.ends) typed = std::make_unique<EndsCard>(*generic, TakeOver{});
    else typed = std::make_unique<SubcktCard>(*generic, TakeOver{});

    EXPECT_EQ(typed->valid, c.valid);
    EXPECT_EQ(typed->kind, c.ends ? CardKind::Ends : CardKind::Subckt);
    if (c.name == nullptr) {
      EXPECT_EQ(typed->nameToken, nullptr);
    } else {
      ASSERT_NE(typed->nameToken, nullptr);
      EXPECT_EQ(typed->nameToken->text, c.name);
    }
    auto filed = FiledDiagnostics();
    if (c.diagnosticLine == 0) {
      EXPECT_TRUE(filed.empty());
    } else {
      ASSERT_EQ(filed.size(), 1u);
      EXPECT_EQ(filed[0].first, c.diagnosticLine);
      EXPECT_NE(filed[0].second.find(c.message), std::string::npos) << filed[0].second;
    }
  }
}

struct ResolveCase {
  const char* what;
  std::vector<std::string_view> lines;
  const char* expected;  // output text after Resolve
  bool changed;
};

std::string Resolved(const std::vector<std::string_view>& lines, bool* changed) {
  CardMaker maker;
  std::unique_ptr<Card> generic = maker.Generic(lines);
  SubcktCard card(*generic, TakeOver{});
  card.Resolve();
  *changed = card.changed;
  return card.OutputText();
}

TEST(SubcktCardTest, TranslatesOptionalParamsAndTextSections) {
  const std::vector<ResolveCase> cases = {
      {"optional pins and params on one line",
       {".SUBCKT AMP in out OPTIONAL: VDD=VCC PARAMS: G=2\n"},
       ".SUBCKT AMP in out\n* OPTIONAL: VDD=VCC \n+ VDD\n+ G=2\n", true},
      {"params on the next line",
       {".SUBCKT AMP in out OPTIONAL: VDD=VCC GND=0\n", "+ PARAMS: G=2\n"},
       ".SUBCKT AMP in out\n* OPTIONAL: VDD=VCC GND=0\n+ VDD GND\n+ G=2\n", true},
      {"optional pins end the card",
       {".SUBCKT AMP in out optional: VDD=VCC\n"},
       ".SUBCKT AMP in out\n* optional: VDD=VCC\n+ VDD\n", true},
      {"no final line feed",
       {".SUBCKT AMP in out OPTIONAL: VDD=VCC"},
       ".SUBCKT AMP in out\n* OPTIONAL: VDD=VCC\n+ VDD\n", true},
      {"every section on a continuation line",
       {".SUBCKT PAL 1 2\n", "+     optional:  20=DPWR 10=DGND\n", "+     params:  DLY=0 IO=0\n",
        "+     text: JEDFILE=PLD\n"},
       ".SUBCKT PAL 1 2\n* optional:  20=DPWR 10=DGND\n+ 20 10\n+     DLY=0 IO=0\n* text: JEDFILE=PLD\n", true},
      {"params keyword ends the first line",
       {".SUBCKT REG in out PARAMS:\n", "+ AV=1665\n"},
       ".SUBCKT REG in out \n+ AV=1665\n", true},
      {"blank after a params keyword that ends the line",
       {".SUBCKT REG in out PARAMS: \n", "+ AV=1\n"},
       ".SUBCKT REG in out \n+ AV=1\n", true},
      {"text section",
       {".SUBCKT T a b TEXT: FILE=X\n"},
       ".SUBCKT T a b\n* TEXT: FILE=X\n", true},
      {"nothing to translate",
       {".SUBCKT AMP in  out ; gain stage\n"},
       ".SUBCKT AMP in  out ; gain stage\n", false},
      {"optional keyword without pins",
       {".SUBCKT AMP in out OPTIONAL:\n"},
       ".SUBCKT AMP in out OPTIONAL:\n", false},
      {"last pin without default",
       {".SUBCKT AMP in out OPTIONAL: VDD=VCC GND\n"},
       ".SUBCKT AMP in out OPTIONAL: VDD=VCC GND\n", false},
      {"pin without default before params",
       {".SUBCKT AMP in out OPTIONAL: VDD PARAMS: G=2\n"},
       ".SUBCKT AMP in out OPTIONAL: VDD PARAMS: G=2\n", false},
      {"default the tokenizer rejects",
       {".SUBCKT PAL 1 2\n", "+ optional: 20=$G_DPWR\n", "+ params: X=0\n"},
       ".SUBCKT PAL 1 2\n+ optional: 20=$G_DPWR\n+ params: X=0\n", false},
      // The rest of a line the tokenizer stopped on survives the edit.
      {"rejected line next to params",
       {".SUBCKT Q a PARAMS: NAME='x'\n", "+ B=1\n"},
       ".SUBCKT Q a NAME='x'\n+ B=1\n", true},
  };
  for (const ResolveCase& c : cases) {
    SCOPED_TRACE(c.what);
    bool changed = false;
    EXPECT_EQ(Resolved(c.lines, &changed), c.expected);
    EXPECT_EQ(changed, c.changed);
  }
}

}  // namespace
}  // namespace zav
