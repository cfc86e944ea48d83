// The pool token lists take their nodes from, as the tokenizer takes them: a
// chain at a time.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "cards/token_list.h"
#include "cards/tokenizer.h"
#include "text/source_line.h"

namespace zav {
namespace {

std::set<const Token*> NodesOf(const TokenList& list) {
  std::set<const Token*> nodes;
  for (const Token* t = list.front(); t != nullptr; t = t->next) nodes.insert(t);
  return nodes;
}

std::string TextOf(const TokenList& list) {
  std::string text;
  for (const Token* t = list.front(); t != nullptr; t = t->next) text += t->text;
  return text;
}

TEST(TokenPool, AChainTakenOutComesBackWithTheNodesFreedMeanwhile) {
  TokenPool pool(4, 8);
  std::size_t count = 0;
  Token* chain = pool.TakeFreeNodes(count);
  std::set<Token*> out;
  for (Token* t = chain; t != nullptr; t = t->next) out.insert(t);
  ASSERT_EQ(out.size(), 4u);  // the first block, whole
  EXPECT_EQ(count, 4u);
  // While the chain is out, others allocate from a new block and free.
  Token* other = pool.AllocateNode();
  EXPECT_EQ(out.count(other), 0u);
  pool.FreeNode(other);
  Token* used = chain;
  chain = chain->next;
  out.erase(used);
  pool.GiveBackFreeNodes(chain, count - 1);
  out.insert(other);
  // Exactly the nodes given back and the one freed are free now, once each.
  std::set<Token*> again;
  for (std::size_t n = 0; n < out.size(); ++n) again.insert(pool.AllocateNode());
  EXPECT_EQ(again, out);
  Token* fresh = pool.AllocateNode();
  EXPECT_EQ(out.count(fresh), 0u);
  EXPECT_NE(fresh, used);
}

TEST(TokenPool, ListsSharingAPoolNeverShareANode) {
  TokenPool pool(16, 64);
  std::string many;
  for (int n = 0; n < 200; ++n) many += "a ";
  many += "\n";
  SourceLine first = SourceLine::MakeOwning(many, 1, LineKind::Element);
  SourceLine second = SourceLine::MakeOwning("R1 1 2 3\n", 2, LineKind::Element);
  SourceLine third = SourceLine::MakeOwning(many + many, 3, LineKind::Element);
  TokenList a;
  TokenList b;
  TokenList c;
  a.Reset(&pool);
  b.Reset(&pool);
  c.Reset(&pool);
  AppendLineTokens(first, a);
  AppendLineTokens(second, b);
  a.Release();
  // More tokens than a gave back: its nodes, then fresh ones.
  AppendLineTokens(third, c);
  AppendLineTokens(second, c);
  EXPECT_EQ(TextOf(b), "R1 1 2 3\n");
  EXPECT_EQ(TextOf(c), std::string(third.text.view()) + "R1 1 2 3\n");
  EXPECT_EQ(NodesOf(c).size(), c.size());
  for (const Token* t : NodesOf(b)) EXPECT_EQ(NodesOf(c).count(t), 0u);
  EXPECT_EQ(c.back()->next, nullptr);
  EXPECT_EQ(c.front()->prev, nullptr);
}

// Erasing a run unlinks it in one step: what stays is linked both ways and
// counted, at either end of the list too, and the run's nodes are free.
TEST(TokenPool, ErasingARunLeavesTheRestLinkedAndFreesItsNodes) {
  TokenPool pool(8, 8);
  TokenList list;
  list.Reset(&pool);
  Token* t[6];
  for (int n = 0; n < 6; ++n) t[n] = list.PushBack(TokenKind::Name, std::string(1, static_cast<char>('a' + n)), nullptr);
  list.EraseRun(t[2], t[4]);  // the middle: c, d
  EXPECT_EQ(TextOf(list), "abef");
  EXPECT_EQ(t[4]->prev, t[1]);
  list.EraseRun(t[0], t[1]);  // the front
  list.EraseRun(t[5], nullptr);  // the back
  list.EraseRun(t[4], t[4]);  // nothing
  EXPECT_EQ(TextOf(list), "be");
  EXPECT_EQ(list.size(), 2u);
  EXPECT_EQ(list.front(), t[1]);
  EXPECT_EQ(list.front()->prev, nullptr);
  EXPECT_EQ(list.back(), t[4]);
  EXPECT_EQ(list.back()->next, nullptr);
  EXPECT_EQ(list.back()->prev, t[1]);
  // The four erased are the free nodes now; the two left are not among them.
  std::set<Token*> freed;
  for (int n = 0; n < 4; ++n) freed.insert(pool.AllocateNode());
  EXPECT_EQ(freed, (std::set<Token*>{t[0], t[2], t[3], t[5]}));
}

}  // namespace
}  // namespace zav
