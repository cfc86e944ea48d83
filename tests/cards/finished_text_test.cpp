// The text an edited card keeps once its tokens go: views of its lines where
// they are long runs, copies of the rest, gathered in one block.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cards/card_store.h"
#include "cards/finished_text.h"
#include "cards/token_list.h"
#include "cards/tokenizer.h"
#include "text/source_line.h"

namespace zav {
namespace {

std::string Concatenated(const TokenList& tokens) {
  std::string text;
  for (const Token* t = tokens.front(); t != nullptr; t = t->next) text += t->text;
  return text;
}

TEST(FinishedText, IsTheTokensConcatenatedWhateverTheirTextsView) {
  CardStore store;
  SourceLine first = SourceLine::MakeOwning(".MODEL QLONGNAME NPN(IS=1E-16 BF=100 VAF=50)\n", 1, LineKind::Model);
  SourceLine second = SourceLine::MakeOwning("+ NF=1 NR=1\n", 2, LineKind::Continuation);
  TokenList tokens;
  tokens.Reset(&store.tokenPool());
  AppendLineTokens(first, tokens);
  AppendLineTokens(second, tokens);
  // Edits as a translation makes them: inserted texts (copies kept by the
  // list) between views of the lines, one after another, at both ends, empty
  // ones, and a token whose text moved to a copy in the middle of a run.
  Token* is = tokens.At(6);
  ASSERT_EQ(is->text, "IS");
  tokens.SetText(is, "ISS");
  tokens.InsertAfter(is, TokenKind::Comment, "", &first);
  tokens.PushFront(TokenKind::Comment, "* front\n", &first);
  Token* bf = tokens.At(11);
  tokens.InsertAfter(bf, TokenKind::Separator, " ", &first);
  tokens.InsertAfter(bf, TokenKind::Name, "BETA", &first);
  tokens.PushBack(TokenKind::Comment, "* back", &second);
  tokens.PushBack(TokenKind::Newline, "\n", &second);
  const std::string expected = Concatenated(tokens);

  const FinishedText* finished = FinishedText::Make(store, tokens);
  tokens.Release();  // the copies the list kept go; the text does not need them
  std::string text = "kept: ";
  finished->AppendTo(text);
  EXPECT_EQ(text, "kept: " + expected);
  EXPECT_EQ(finished->size(), expected.size());

  // A list of no tokens, or of empty ones, finishes as an empty text.
  TokenList empty;
  empty.Reset(&store.tokenPool());
  empty.PushBack(TokenKind::Comment, "", &first);
  const FinishedText* none = FinishedText::Make(store, empty);
  std::string nothing;
  none->AppendTo(nothing);
  EXPECT_EQ(nothing, "");
  EXPECT_EQ(none->size(), 0u);
}

TEST(FinishedText, LeavesTheListWholeAndReusesItsScratchAcrossCardsOfAnySize) {
  // Finishing walks the list with a stop after its last token and gathers
  // into scratch entries its records keep for the next list: each card's
  // text must come out whole whatever the cards before it left there, and
  // its list must end where it did.
  CardStore store;
  SourceLine line = SourceLine::MakeOwning(".MODEL QX NPN(IS=1E-16 BF=100 VAF=50 IKF=0.1 ISE=1E-14 NE=1.5)\n", 1,
                                           LineKind::Model);
  for (const int edits : {40, 1, 0, 25, 3, 60}) {
    TokenList tokens;
    tokens.Reset(&store.tokenPool());
    AppendLineTokens(line, tokens);
    // Short copies between the runs of the line, as many pieces as edits.
    Token* at = tokens.front();
    for (int i = 0; i < edits; ++i) {
      at = tokens.InsertAfter(at, TokenKind::Comment, i % 2 == 0 ? "x" : "", &line);
      if (at->next != nullptr && at->next->next != nullptr) at = at->next->next;
    }
    const std::string expected = Concatenated(tokens);
    const Token* last = tokens.back();

    const FinishedText* finished = FinishedText::Make(store, tokens);
    EXPECT_EQ(tokens.back(), last);
    EXPECT_EQ(last->next, nullptr);
    EXPECT_EQ(Concatenated(tokens), expected);
    tokens.Release();
    std::string text;
    finished->AppendTo(text);
    EXPECT_EQ(text, expected) << edits;
  }

  // A list that holds no token at all.
  TokenList none;
  none.Reset(&store.tokenPool());
  std::string nothing;
  FinishedText::Make(store, none)->AppendTo(nothing);
  EXPECT_EQ(nothing, "");
}

TEST(FinishedText, KeepsWhatTheEditsWroteOnlyWhereItOutlivesTheList) {
  // Long texts an edit writes with KeepRoom last as long as the list's pool:
  // the store's, whose texts a finished text may view; a list's own, which
  // goes with the list, so that they must be copied. Short ones live in the
  // list and go with its tokens. Each text must read whole after its list
  // went and other lists wrote where it had written.
  const std::string line = ".MODEL QX NPN(IS=1E-16 BF=100)\n";
  const std::string added = "+ VAF = 50    ; a parameter line an edit added, long enough to be viewed\n";
  CardStore store;
  SourceLine source = SourceLine::MakeOwning(line, 1, LineKind::Model);
  const auto write = [&](TokenList& tokens) {
    AppendLineTokens(source, tokens);
    char* room = tokens.KeepRoom(added.size());
    std::copy(added.begin(), added.end(), room);
    tokens.InsertKeptAfter(tokens.back(), TokenKind::Comment, std::string_view(room, added.size()), &source);
    char* shortRoom = tokens.KeepRoomWhileHeld(4);
    std::copy_n("* x\n", 4, shortRoom);
    tokens.InsertKeptAfter(tokens.back(), TokenKind::Comment, std::string_view(shortRoom, 4), &source);
  };
  std::vector<const FinishedText*> texts;
  for (int card = 0; card < 3; ++card) {
    TokenList tokens;
    tokens.Reset(&store.tokenPool());
    write(tokens);
    texts.push_back(FinishedText::Make(store, tokens));
  }
  {
    TokenList own;
    own.Reset(nullptr);
    write(own);
    texts.push_back(FinishedText::Make(store, own));
  }  // the list's own pool goes here, with what was written in it
  TokenList other;
  other.Reset(nullptr);
  write(other);
  for (const FinishedText* finished : texts) {
    std::string text;
    finished->AppendTo(text);
    EXPECT_EQ(text, line + added + "* x\n");
  }
}

}  // namespace
}  // namespace zav
