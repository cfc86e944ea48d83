#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "cards/card.h"
#include "diagnostics/diagnostic_list.h"
#include "text/source_line.h"

namespace zav {
namespace {

// Lines with stable addresses, numbered from 1, classified by hand.
class Lines {
 public:
  SourceLine* Add(std::string text, LineKind kind, bool isInlineComment = false) {
    const auto number = static_cast<int32_t>(lines_.size() + 1);
    return &lines_.emplace_back(SourceLine::MakeOwning(text, number, kind, isInlineComment));
  }
  std::unique_ptr<Card> MakeCard(std::vector<SourceLine*> cardLines, bool parse = true) {
    auto card = std::make_unique<Card>();
    for (SourceLine* line : cardLines) card->AddLine(line);
    if (parse) card->Parse();
    return card;
  }

 private:
  std::deque<SourceLine> lines_;
};

using LineState = std::tuple<int32_t, std::string, LineKind, bool>;
using TokenState = std::tuple<TokenKind, std::string, int32_t>;

std::vector<LineState> LinesOf(const Card& card) {
  std::vector<LineState> out;
  for (const SourceLine* l : card.lines) out.emplace_back(l->number, l->text, l->kind, l->isInlineComment);
  return out;
}

std::vector<TokenState> TokensOf(const Card& card) {
  std::vector<TokenState> out;
  for (const Token* t = card.tokens.front(); t != nullptr; t = t->next) {
    out.emplace_back(t->kind, t->text, t->line ? t->line->number : -1);
  }
  return out;
}

std::string Printed(const Card& card) {
  std::FILE* file = std::tmpfile();
  card.Print(file);
  std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
  std::rewind(file);
  EXPECT_EQ(std::fread(text.data(), 1, text.size(), file), text.size());
  std::fclose(file);
  return text;
}

// One dropped card of three lines (a statement with an inline comment, a
// continuation and a comment line) merged into a card with tokens and into one
// without, through the one-line operations and through the batch operations.
TEST(CardTest, MergesDroppedCardIntoNeighboursAsCommentsAlikeInBothForms) {
  for (const bool intoNext : {true, false}) {
    for (const bool receiverParsed : {true, false}) {
      SCOPED_TRACE(testing::Message() << "intoNext " << intoNext << " parsed " << receiverParsed);
      std::vector<LineState> resultLines[2];
      std::vector<TokenState> resultTokens[2];
      for (const bool batch : {false, true}) {
        Lines lines;
        SourceLine* a = lines.Add("Q1 1 2 3 QN", LineKind::Element);
        a->text = "Q1 1 2 3 QX";  // the text as read is what gets commented out
        SourceLine* b = lines.Add(" ; why\n", LineKind::Comment, true);
        SourceLine* c = lines.Add("+ 4\n", LineKind::Continuation);
        SourceLine* d = lines.Add("* note\n", LineKind::Comment);
        auto dropped = lines.MakeCard({a, b, c, d});
        auto receiver = lines.MakeCard({lines.Add(".MODEL QN NPN\n", LineKind::Model)}, receiverParsed);
        if (batch) {
          if (intoNext) receiver->PrependCommentLines(dropped->lines); else receiver->AppendCommentLines(dropped->lines);
        } else if (intoNext) {
          for (auto it = dropped->lines.rbegin(); it != dropped->lines.rend(); ++it) receiver->PrependCommentLine(*it);
        } else {
          for (SourceLine* line : dropped->lines) receiver->AppendCommentLine(line);
        }
        dropped.reset();  // leaves the lines alone
        EXPECT_FALSE(receiver->changed);
        EXPECT_EQ(receiver->OutputText(), intoNext ? "* Q1 1 2 3 QN ; why\n* + 4\n* note\n.MODEL QN NPN\n"
                                                   : ".MODEL QN NPN\n* Q1 1 2 3 QN ; why\n* + 4\n* note\n");
        resultLines[batch] = LinesOf(*receiver);
        resultTokens[batch] = TokensOf(*receiver);
      }
      EXPECT_EQ(resultLines[0], resultLines[1]);
      EXPECT_EQ(resultTokens[0], resultTokens[1]);

      std::vector<LineState> expected = {
          {1, "* Q1 1 2 3 QN", LineKind::Comment, false},
          {2, " ; why\n", LineKind::Comment, false},
          {3, "* + 4\n", LineKind::Comment, false},
          {4, "* note\n", LineKind::Comment, false},
      };
      std::vector<TokenState> comments;
      for (const auto& [number, text, kind, isInline] : expected) comments.emplace_back(TokenKind::Comment, text, number);
      const LineState own{5, ".MODEL QN NPN\n", LineKind::Model, false};
      expected.insert(intoNext ? expected.end() : expected.begin(), own);
      EXPECT_EQ(resultLines[1], expected);
      if (!receiverParsed) {
        EXPECT_TRUE(resultTokens[1].empty());  // a card without tokens gets none
      } else {
        ASSERT_EQ(resultTokens[1].size(), 4u + 6u);
        const auto first = resultTokens[1].begin() + (intoNext ? 0 : 6);
        EXPECT_EQ(std::vector<TokenState>(first, first + 4), comments);
      }
    }
  }
}

TEST(CardTest, UneditedCardWritesItsLinesWhereverTheyLie) {
  // Lines read from one buffer lie one after the other and are written out
  // as one stretch; a line turned into a comment, or made on its own, lies
  // elsewhere and breaks the stretch; lines listed out of the buffer's
  // order must not join.
  const std::string buffer = "Q1 1 2 3 QN ; why\n+ 4\n* note\nR1 1 0 1k\n";
  std::vector<SourceLine> read;
  for (std::size_t at = 0; at < buffer.size();) {
    const std::size_t end = buffer.find('\n', at) + 1;
    read.emplace_back(std::string_view(buffer).substr(at, end - at), static_cast<int32_t>(read.size() + 1),
                      LineKind::Other, false);
    at = end;
  }
  SourceLine own = SourceLine::MakeOwning("* made on its own\n", 9, LineKind::Comment);
  struct Row {
    std::vector<SourceLine*> lines;
    std::string text;
  };
  const Row rows[] = {
      {{&read[0], &read[1], &read[2]}, "Q1 1 2 3 QN ; why\n+ 4\n* note\n"},
      {{&read[0], &own, &read[1]}, "Q1 1 2 3 QN ; why\n* made on its own\n+ 4\n"},
      {{&read[1], &read[0], &read[2]}, "+ 4\nQ1 1 2 3 QN ; why\n* note\n"},
      {{&read[3], &read[2]}, "R1 1 0 1k\n* note\n"},
      {{}, ""},
  };
  for (const Row& row : rows) {
    Card card;
    for (SourceLine* line : row.lines) card.AddLine(line);
    std::string out = "before\n";
    card.AppendOutputText(out);
    EXPECT_EQ(out, "before\n" + row.text);
    EXPECT_EQ(card.OutputText(), row.text);
    EXPECT_EQ(card.OutputSize(), row.text.size());
  }
  // A line of the stretch turned into a comment now keeps a text elsewhere.
  ConvertLineToComment(read[1]);
  Card card;
  for (SourceLine& line : read) card.AddLine(&line);
  EXPECT_EQ(card.OutputText(), "Q1 1 2 3 QN ; why\n* + 4\n* note\nR1 1 0 1k\n");
}

TEST(CardTest, MergedInlineCommentGetsItsOwnLineHeaderInPrint) {
  Lines lines;
  SourceLine* a = lines.Add("R1 1 2", LineKind::Element);
  SourceLine* b = lines.Add(" ; x\n", LineKind::Comment, true);
  SourceLine* c = lines.Add("R2 3 4\n", LineKind::Element);
  b->number = 1;
  auto first = lines.MakeCard({a, b});
  auto second = lines.MakeCard({c});
  EXPECT_EQ(Printed(*first), "\nLine   1(6): R1 1 2 ; x\n\n");
  second->PrependCommentLines(first->lines);
  EXPECT_EQ(Printed(*second), "\nLine   1(1): * R1 1 2\nLine   1(1):  ; x\n\nLine   3(6): R2 3 4\n\n");
}

TEST(CardTest, ParseDropsEntriesThatWouldPointAtReleasedTokens) {
  Lines lines;
  SourceLine* a = lines.Add("R1 1 2 R=10\n", LineKind::Element);
  auto card = lines.MakeCard({a});
  card->nameToken = card->FirstToken();
  card->params().push_back({card->tokens.At(6), card->tokens.back()->prev, 2});
  card->Parse();
  EXPECT_EQ(card->nameToken, nullptr);
  EXPECT_TRUE(card->params().empty());
  EXPECT_EQ(card->Text(), "R1 1 2 R=10\n");
}

}  // namespace
}  // namespace zav
