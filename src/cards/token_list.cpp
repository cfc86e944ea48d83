#include "cards/token_list.h"

#include <cstring>
#include <utility>

namespace zav {

TokenList::TokenList(TokenList&& other) noexcept { *this = std::move(other); }

TokenList& TokenList::operator=(TokenList&& other) noexcept {
  if (this == &other) return *this;
  firstBlock_ = std::move(other.firstBlock_);
  moreBlocks_ = std::move(other.moreBlocks_);
  blockNext_ = std::exchange(other.blockNext_, nullptr);
  blockEnd_ = std::exchange(other.blockEnd_, nullptr);
  nextBlockSize_ = std::exchange(other.nextBlockSize_, 16);
  free_ = std::exchange(other.free_, nullptr);
  freeCount_ = std::exchange(other.freeCount_, 0);
  texts_ = std::move(other.texts_);
  head_ = std::exchange(other.head_, nullptr);
  tail_ = std::exchange(other.tail_, nullptr);
  size_ = std::exchange(other.size_, 0);
  other.moreBlocks_.clear();
  return *this;
}

void TokenList::AddBlock(std::size_t count) {
  Token* block;
  if (!firstBlock_) {
    firstBlock_ = std::make_unique<Token[]>(count);
    block = firstBlock_.get();
  } else {
    moreBlocks_.push_back(std::make_unique<Token[]>(count));
    block = moreBlocks_.back().get();
  }
  blockNext_ = block;
  blockEnd_ = block + count;
}

void TokenList::Reserve(std::size_t count) {
  const auto room = static_cast<std::size_t>(blockEnd_ - blockNext_) + freeCount_;
  if (count > room) AddBlock(count - room);
}

Token* TokenList::Allocate() {
  if (free_ != nullptr) {
    Token* token = free_;
    free_ = token->next;
    --freeCount_;
    return token;
  }
  if (blockNext_ == blockEnd_) {
    AddBlock(nextBlockSize_);
    if (nextBlockSize_ < 1024) nextBlockSize_ *= 2;
  }
  return blockNext_++;
}

Token* TokenList::Link(Token* token, Token* position) {
  token->next = position;
  token->prev = position ? position->prev : tail_;
  if (token->prev) token->prev->next = token; else head_ = token;
  if (position) position->prev = token; else tail_ = token;
  ++size_;
  return token;
}

Token* TokenList::InsertBefore(Token* position, TokenKind kind, std::string_view text, SourceLine* line) {
  Token* token = Allocate();
  token->kind = kind;
  token->text = Keep(text);
  token->line = line;
  return Link(token, position);
}

Token* TokenList::InsertAfter(Token* position, TokenKind kind, std::string_view text, SourceLine* line) {
  return InsertBefore(position ? position->next : head_, kind, text, line);
}

Token* TokenList::PushBackBorrowed(TokenKind kind, std::string_view text, SourceLine* line) {
  Token* token = Allocate();
  token->kind = kind;
  token->text = text;
  token->line = line;
  return Link(token, nullptr);
}

Token* TokenList::Erase(Token* token) {
  Token* following = token->next;
  if (token->prev) token->prev->next = token->next; else head_ = token->next;
  if (token->next) token->next->prev = token->prev; else tail_ = token->prev;
  token->prev = nullptr;
  token->line = nullptr;
  token->text = std::string_view();
  token->next = free_;
  free_ = token;
  ++freeCount_;
  --size_;
  return following;
}

void TokenList::MoveAfter(Token* first, Token* last, Token* position) {
  if (position == first->prev) return;
  Token* before = first->prev;
  Token* after = last->next;
  if (before) before->next = after; else head_ = after;
  if (after) after->prev = before; else tail_ = before;

  Token* following = position ? position->next : head_;
  first->prev = position;
  last->next = following;
  if (position) position->next = first; else head_ = first;
  if (following) following->prev = last; else tail_ = last;
}

void TokenList::Clear() {
  while (tail_) Erase(tail_);
}

Token* TokenList::At(std::size_t index) const {
  Token* t = head_;
  while (t && index > 0) {
    t = t->next;
    --index;
  }
  return t;
}

}  // namespace zav
