#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "subcircuits/card_maker.h"
#include "subcircuits/ends_card.h"
#include "subcircuits/subcircuit_model.h"
#include "subcircuits/subckt_card.h"

namespace zav {
namespace {

using testing::CardMaker;
using testing::FiledDiagnostics;

// The cards of a small file, typed just enough for collection and lookup:
// the kind, and the name token where a model has one.
class Block {
 public:
  Card* Subckt(std::string_view line) { return Keep(std::make_unique<SubcktCard>(*maker_.Generic({line}), TakeOver{})); }
  Card* Ends(std::string_view line) { return Keep(std::make_unique<EndsCard>(*maker_.Generic({line}), TakeOver{})); }
  Card* Model(std::string_view line) {
    Card* card = Keep(maker_.Generic({line}));
    card->kind = CardKind::DiodeModel;
    card->FirstToken();
    card->nameToken = card->NextToken();
    return card;
  }
  Card* Element(std::string_view line) {
    Card* card = Keep(maker_.Generic({line}));
    card->kind = CardKind::Resistor;
    return card;
  }
  Card* Control(std::string_view line) {
    Card* card = Keep(maker_.Generic({line}));
    card->kind = CardKind::Control;
    return card;
  }

 private:
  Card* Keep(std::unique_ptr<Card> card) {
    cards_.push_back(std::move(card));
    return cards_.back().get();
  }
  CardMaker maker_;
  std::vector<std::unique_ptr<Card>> cards_;
};

std::vector<Card*> CardsOf(const SubcircuitModel& model) {
  return std::vector<Card*>(model.cards().begin(), model.cards().end());
}

TEST(SubcircuitModelTest, EndsClosesTheInnermostDefinitionWhateverItsName) {
  TheDiagnosticList().Clear();
  Block file;
  Card* a = file.Subckt(".SUBCKT A 1 2\n");
  Card* r1 = file.Element("R1 1 2 1\n");
  Card* b = file.Subckt(".SUBCKT B 1\n");
  Card* r2 = file.Element("R2 1 0 1\n");
  Card* m = file.Model(".MODEL M D\n");
  Card* endsB = file.Ends(".ENDS A\n");
  Card* r3 = file.Element("R3 1 0 1\n");
  Card* control = file.Control(".PARAM X=1\n");
  Card* endsA = file.Ends(".ENDS\n");
  Card* after = file.Element("R4 1 0 1\n");

  SubcircuitModel top(nullptr, static_cast<SubcktCard*>(a));
  EXPECT_FALSE(top.AddCard(r1));
  EXPECT_FALSE(top.AddCard(b));
  ASSERT_EQ(top.models.size(), 1u);
  auto* nested = static_cast<SubcircuitModel*>(top.models[0]);
  EXPECT_EQ(nested->origin, ImportedModel::Origin::Subcircuit);
  EXPECT_EQ(nested->nameToken->text, "B");
  EXPECT_EQ(nested->subcircuit, &top);
  EXPECT_EQ(nested->session, nullptr);
  EXPECT_EQ(top.openChild, nested);
  EXPECT_FALSE(top.AddCard(r2));
  EXPECT_FALSE(top.AddCard(m));
  EXPECT_FALSE(top.AddCard(endsB));  // closes B, not A
  EXPECT_EQ(top.openChild, nullptr);
  EXPECT_FALSE(top.AddCard(r3));
  EXPECT_FALSE(top.AddCard(control));  // reported, but stays in the block
  EXPECT_TRUE(top.AddCard(endsA));
  EXPECT_TRUE(top.AddCard(after));  // a closed definition takes nothing more

  EXPECT_EQ(CardsOf(top), (std::vector<Card*>{a, r1, b, r2, m, endsB, r3, control, endsA}));
  EXPECT_EQ(CardsOf(*nested), (std::vector<Card*>{b, r2, m, endsB}));
  EXPECT_EQ(std::vector<ImportedModel*>(nested->models.begin(), nested->models.end()), (std::vector<ImportedModel*>{m}));
  const std::map<Card*, const ModelScope*> innermost = {
      {a, nullptr},    {r1, &top}, {b, &top},       {r2, nested},  {m, nested},
      {endsB, nested}, {r3, &top}, {control, &top}, {endsA, &top}, {after, nullptr}};
  for (const auto& [card, definition] : innermost) EXPECT_EQ(card->subcircuit, definition) << card->Text();

  EXPECT_EQ(top.ModelText(), ".SUBCKT A 1 2\nR1 1 2 1\n.SUBCKT B 1\nR2 1 0 1\n.MODEL M D\n.ENDS A\nR3 1 0 1\n"
                             ".PARAM X=1\n.ENDS\n");
  EXPECT_EQ(nested->ModelText(), ".SUBCKT B 1\nR2 1 0 1\n.MODEL M D\n.ENDS A\n");

  auto filed = FiledDiagnostics();
  ASSERT_EQ(filed.size(), 1u);
  EXPECT_EQ(filed[0].first, 8);
  EXPECT_NE(filed[0].second.find("This card is unexpected in this context."), std::string::npos);
}

TEST(SubcircuitModelTest, FindsModelsFromTheInnermostDefinitionOutward) {
  Block file;
  Card* top = file.Subckt(".SUBCKT TOP 1\n");
  Card* m1 = file.Model(".MODEL M1 D\n");
  Card* topShared = file.Model(".MODEL Shared D\n");
  Card* inner = file.Subckt(".SUBCKT INNER 1\n");
  Card* innerShared = file.Model(".MODEL shared D\n");
  Card* dup1 = file.Model(".MODEL DUP D\n");
  Card* dup2 = file.Model(".MODEL dup D\n");
  Card* deep = file.Subckt(".SUBCKT DEEP 1\n");
  Card* r = file.Element("R1 1 0 1\n");
  Card* endsDeep = file.Ends(".ENDS\n");
  Card* endsInner = file.Ends(".ENDS\n");
  Card* sib = file.Subckt(".SUBCKT SIB 1\n");
  Card* sibOnly = file.Model(".MODEL SIBONLY D\n");
  Card* endsSib = file.Ends(".ENDS\n");
  Card* late = file.Model(".MODEL LATE D\n");
  Card* endsTop = file.Ends(".ENDS\n");

  SubcircuitModel model(nullptr, static_cast<SubcktCard*>(top));
  for (Card* card : {m1, topShared, inner, innerShared, dup1, dup2, deep, r, endsDeep, endsInner, sib, sibOnly,
                     endsSib, late}) {
    ASSERT_FALSE(model.AddCard(card));
  }
  ASSERT_TRUE(model.AddCard(endsTop));
  ASSERT_EQ(model.models.size(), 5u);  // M1, Shared, INNER, SIB, LATE
  auto* innerModel = static_cast<SubcircuitModel*>(model.models[2]);
  auto* sibModel = static_cast<SubcircuitModel*>(model.models[3]);
  auto* deepModel = static_cast<SubcircuitModel*>(innerModel->models[3]);
  ASSERT_EQ(deepModel->nameToken->text, "DEEP");

  struct Lookup {
    const SubcircuitModel* from;
    const char* name;
    const ImportedModel* found;
  };
  const std::vector<Lookup> lookups = {
      {deepModel, "shared", innerShared},  // the inner definition hides the outer one
      {deepModel, "m1", m1},               // outward past an enclosing definition
      {deepModel, "Dup", dup1},            // first of two
      {deepModel, "DEEP", deepModel},      // a definition finds itself in its parent
      {deepModel, "inner", innerModel},
      {deepModel, "SIB", sibModel},
      {deepModel, "LATE", late},           // defined after the block that uses it
      {deepModel, "SIBONLY", nullptr},     // local to a sibling
      {deepModel, "NONE", nullptr},
      {innerModel, "SHARED", innerShared},
      {innerModel, "deep", deepModel},
      {&model, "shared", topShared},
      {&model, "DUP", nullptr},
      {&model, "DEEP", nullptr},
      {&model, "INNER", innerModel},
      {sibModel, "shared", topShared},
      {sibModel, "sibonly", sibOnly},
      {sibModel, "dup", nullptr},
  };
  for (const Lookup& lookup : lookups) {
    EXPECT_EQ(lookup.from->FindModel(lookup.name), lookup.found)
        << lookup.name << " from " << lookup.from->nameToken->text;
  }
}

TEST(SubcircuitModelTest, DeepNestingNeedsNoDeepStack) {
  constexpr std::size_t kDepth = 200000;
  Block file;
  Card* open = file.Subckt(".SUBCKT S 1\n");
  Card* close = file.Ends(".ENDS\n");

  // The same two cards offered over and over make the nesting; what counts
  // is the structure built from them.
  auto top = std::make_unique<SubcircuitModel>(nullptr, static_cast<SubcktCard*>(open));
  for (std::size_t i = 0; i < kDepth; ++i) ASSERT_FALSE(top->AddCard(open));

  std::size_t depth = 0;
  SubcircuitModel* deepest = top.get();
  for (; deepest->openChild != nullptr; deepest = deepest->openChild) {
    ASSERT_EQ(deepest->FindModel("s"), deepest->openChild);
    ++depth;
  }
  EXPECT_EQ(depth, kDepth);
  EXPECT_EQ(deepest->FindModel("S"), deepest);
  EXPECT_EQ(deepest->cards().size(), 1u);

  for (std::size_t i = 0; i < kDepth; ++i) ASSERT_FALSE(top->AddCard(close));
  EXPECT_TRUE(top->AddCard(close));
  EXPECT_EQ(top->cards().size(), 2 * kDepth + 2);
  EXPECT_EQ(top->ModelText().size(), (kDepth + 1) * (std::string(".SUBCKT S 1\n").size() + 6));
  top.reset();
}

}  // namespace
}  // namespace zav
