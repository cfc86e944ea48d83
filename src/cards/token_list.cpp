#include "cards/token_list.h"

#include <algorithm>
#include <utility>

#include "cards/text_arena.h"

namespace zav {

TokenPool::TokenPool(std::size_t firstBlock, std::size_t maxBlock) : nextBlock_(firstBlock), maxBlock_(maxBlock) {}

TokenPool::~TokenPool() {
  while (freeRecords_ != nullptr) delete std::exchange(freeRecords_, freeRecords_->nextFree);
}

Token* TokenPool::AllocateFromNewBlock() {
  AddBlock();
  return blockNext_++;
}

void TokenPool::AddBlock() {
  blocks_.push_back(std::make_unique<Token[]>(nextBlock_));
  blockNext_ = blocks_.back().get();
  blockEnd_ = blockNext_ + nextBlock_;
  if (nextBlock_ < maxBlock_) nextBlock_ *= 2;
}

void TokenPool::ChainFreshNodes() {
  // A few at a time, so that a block is not touched far ahead of its use.
  constexpr std::size_t kChain = 64;
  if (blockNext_ == blockEnd_) AddBlock();
  const std::size_t count = std::min<std::size_t>(kChain, static_cast<std::size_t>(blockEnd_ - blockNext_));
  for (std::size_t i = 0; i + 1 < count; ++i) blockNext_[i].next = &blockNext_[i + 1];
  blockNext_[count - 1].next = nullptr;
  freeNodes_ = blockNext_;
  freeCount_ = count;
  blockNext_ += count;
}

void TokenPool::Reserve(std::size_t count) {
  // From the newest block on, a block at a time (a long line may need more
  // than one); the nodes of a block stay in their order.
  while (freeCount_ < count) {
    if (blockNext_ == blockEnd_) AddBlock();
    const std::size_t taken = std::min(count - freeCount_, static_cast<std::size_t>(blockEnd_ - blockNext_));
    for (std::size_t i = 0; i + 1 < taken; ++i) blockNext_[i].next = &blockNext_[i + 1];
    blockNext_[taken - 1].next = freeNodes_;
    freeNodes_ = blockNext_;
    freeCount_ += taken;
    blockNext_ += taken;
  }
}

void TokenPool::GiveBackBefore(Token* chain) {
  // Nodes freed while the chain was out go after it.
  Token* last = chain;
  while (last->next != nullptr) last = last->next;
  last->next = freeNodes_;
  freeNodes_ = chain;
}

TokenListRecords* TokenPool::AcquireRecords() {
  if (freeRecords_ == nullptr) {
    auto records = std::make_unique<TokenListRecords>();
    records->pool = this;
    return records.release();
  }
  return ReuseRecords();
}

void TokenPool::ReleaseRecords(TokenListRecords* records) {
  records->head = nullptr;
  records->tail = nullptr;
  records->size = 0;
  records->texts.Clear();
  records->recorded.params.clear();
  for (auto& refs : records->recorded.refs) refs.clear();
  records->recorded.keptName = nullptr;
  records->recorded.parsedParams = 0;
  records->recorded.braceValue = BraceExpression{};
  records->recorded.cursor = nullptr;
  records->nextFree = freeRecords_;
  freeRecords_ = records;
}

void TokenList::ResetWithNewRecords(TokenPool* pool) {
  bits_ = 0;
  TokenListRecords* records;
  if (pool != nullptr) {
    records = pool->AcquireRecords();
  } else {
    auto own = std::make_unique<TokenPool>(16, 1024);
    records = own->AcquireRecords();
    records->ownPool = std::move(own);
  }
  bits_ = reinterpret_cast<std::uintptr_t>(records);
}

void TokenList::ReleaseHeld() {
  TokenListRecords* records = Records();
  bits_ = 0;
  if (records->ownPool != nullptr) [[unlikely]] {
    DeleteWithOwnPool(records);
    return;
  }
  if (records->head != nullptr) records->pool->FreeChain(records->head, records->tail, records->size);
  records->pool->ReleaseRecords(records);
}

void TokenList::DeleteWithOwnPool(TokenListRecords* records) {
  // The pool goes with its only list, nodes and all.
  std::unique_ptr<TokenPool> own = std::move(records->ownPool);
  delete records;
}

std::string_view TokenList::Keep(std::string_view text) { return Hold().texts.Keep(text); }

Token* TokenList::InsertBefore(Token* position, TokenKind kind, std::string_view text, SourceLine* line) {
  TokenListRecords& records = Hold();
  Token* token = records.pool->AllocateNode();
  token->kind = kind;
  token->text = records.texts.Keep(text);
  token->line = line;
  return Link(records, token, position != nullptr ? position->prev : records.tail, position);
}

Token* TokenList::InsertAfter(Token* position, TokenKind kind, std::string_view text, SourceLine* line) {
  TokenListRecords& records = Hold();
  Token* token = records.pool->AllocateNode();
  token->kind = kind;
  token->text = records.texts.Keep(text);
  token->line = line;
  return Link(records, token, position, position != nullptr ? position->next : records.head);
}

Token* TokenList::Erase(Token* token) {
  TokenListRecords& records = *Records();
  Token* following = token->next;
  if (token->prev) token->prev->next = token->next; else records.head = token->next;
  if (token->next) token->next->prev = token->prev; else records.tail = token->prev;
  records.pool->FreeNode(token);
  --records.size;
  return following;
}

void TokenList::EraseRun(Token* first, Token* end) {
  if (first == end) return;
  Token* last = first;
  std::size_t count = 1;
  for (; last->next != end; last = last->next) ++count;
  EraseRun(first, last, count);
}

void TokenList::MoveAfter(Token* first, Token* last, Token* position) {
  TokenListRecords& records = *Records();
  if (position == first->prev) return;
  Token* before = first->prev;
  Token* after = last->next;
  if (before) before->next = after; else records.head = after;
  if (after) after->prev = before; else records.tail = before;

  Token* following = position ? position->next : records.head;
  first->prev = position;
  last->next = following;
  if (position) position->next = first; else records.head = first;
  if (following) following->prev = last; else records.tail = last;
}

void TokenList::Clear() {
  if (Records() == nullptr) return;
  while (Records()->tail) Erase(Records()->tail);
}

void TokenList::Reserve(std::size_t) {
  // Nodes come from the pool's blocks; nothing to do ahead of time.
}

Token* TokenList::At(std::size_t index) const {
  Token* t = front();
  while (t && index > 0) {
    t = t->next;
    --index;
  }
  return t;
}

}  // namespace zav
