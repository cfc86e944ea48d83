#include "cards/token_list.h"

namespace zav {

void TokenList::AddBlock(std::size_t count) {
  blocks_.push_back(std::make_unique<Token[]>(count));
  blockNext_ = blocks_.back().get();
  blockEnd_ = blockNext_ + count;
}

void TokenList::Reserve(std::size_t count) {
  const auto room = static_cast<std::size_t>(blockEnd_ - blockNext_) + free_.size();
  if (count > room) AddBlock(count - free_.size());
}

Token* TokenList::Allocate() {
  if (!free_.empty()) {
    Token* token = free_.back();
    free_.pop_back();
    return token;
  }
  if (blockNext_ == blockEnd_) {
    AddBlock(nextBlockSize_);
    if (nextBlockSize_ < 1024) nextBlockSize_ *= 2;
  }
  return blockNext_++;
}

Token* TokenList::InsertBefore(Token* position, TokenKind kind, std::string_view text, SourceLine* line) {
  Token* token = Allocate();
  token->kind = kind;
  token->text.assign(text.data(), text.size());
  token->line = line;
  token->next = position;
  token->prev = position ? position->prev : tail_;
  if (token->prev) token->prev->next = token; else head_ = token;
  if (position) position->prev = token; else tail_ = token;
  ++size_;
  return token;
}

Token* TokenList::InsertAfter(Token* position, TokenKind kind, std::string_view text, SourceLine* line) {
  return InsertBefore(position ? position->next : head_, kind, text, line);
}

Token* TokenList::Erase(Token* token) {
  Token* following = token->next;
  if (token->prev) token->prev->next = token->next; else head_ = token->next;
  if (token->next) token->next->prev = token->prev; else tail_ = token->prev;
  token->prev = token->next = nullptr;
  token->line = nullptr;
  std::string().swap(token->text);
  free_.push_back(token);
  --size_;
  return following;
}

void TokenList::Clear() {
  while (tail_) Erase(tail_);
}

std::size_t TokenList::IndexOf(const Token* token) const {
  std::size_t index = 0;
  for (const Token* t = head_; t; t = t->next, ++index) {
    if (t == token) return index;
  }
  return index;
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
