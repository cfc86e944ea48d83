#pragma once

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "cards/token.h"
#include "cards/text_arena.h"

namespace zav {

// The ordered tokens of one card: an intrusive doubly linked list whose nodes
// live in blocks owned by the list (one allocation per block, not per token;
// blocks grow geometrically, or take an exact size through Reserve), and the
// texts the list was given to keep, in chunks of its own. Insertion and
// removal anywhere are O(1). Node storage and kept texts are released with
// the list; a removed node is reused by later insertions.
class TokenList {
 public:
  TokenList() = default;
  TokenList(const TokenList&) = delete;
  TokenList& operator=(const TokenList&) = delete;
  // Takes the tokens over; the source is left empty. Token addresses stay.
  TokenList(TokenList&& other) noexcept;
  TokenList& operator=(TokenList&& other) noexcept;
  ~TokenList() = default;

  Token* front() const { return head_; }
  Token* back() const { return tail_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }

  // Inserts a new token before `position` (a null position appends) with a
  // copy of `text` that the list keeps.
  Token* InsertBefore(Token* position, TokenKind kind, std::string_view text, SourceLine* line);
  // Inserts a new token after `position`; a null position prepends.
  Token* InsertAfter(Token* position, TokenKind kind, std::string_view text, SourceLine* line);
  Token* PushBack(TokenKind kind, std::string_view text, SourceLine* line) {
    return InsertBefore(nullptr, kind, text, line);
  }
  Token* PushFront(TokenKind kind, std::string_view text, SourceLine* line) {
    return InsertAfter(nullptr, kind, text, line);
  }
  // Appends a token whose text is borrowed, not copied: `text` must outlive
  // the list (the text of a source line, say).
  Token* PushBackBorrowed(TokenKind kind, std::string_view text, SourceLine* line);

  // Gives the token a copy of `text` that the list keeps.
  void SetText(Token* token, std::string_view text) { token->text = Keep(text); }
  // A copy of `text` that lives as long as the list.
  std::string_view Keep(std::string_view text) { return texts_.Keep(text); }

  // Unlinks the token. Returns the token that followed it.
  Token* Erase(Token* token);

  // Moves the run from `first` to `last` (inclusive, in list order) so that
  // it follows `position`, which must not lie inside the run; a null position
  // moves it to the front. The tokens themselves stay where they are in
  // memory.
  void MoveAfter(Token* first, Token* last, Token* position);

  // Removes every token, from the last to the first.
  void Clear();

  // Makes room for `count` more tokens in one allocation.
  void Reserve(std::size_t count);

  // The token at a position from the front, or none; O(n).
  Token* At(std::size_t index) const;

 private:
  Token* Allocate();
  void AddBlock(std::size_t count);
  Token* Link(Token* token, Token* position);

  // Most cards need one block, which takes no further allocation.
  std::unique_ptr<Token[]> firstBlock_;
  std::vector<std::unique_ptr<Token[]>> moreBlocks_;
  Token* blockNext_ = nullptr;  // the unused rest of the newest block
  Token* blockEnd_ = nullptr;
  std::size_t nextBlockSize_ = 16;
  Token* free_ = nullptr;  // removed nodes, chained through `next`
  std::size_t freeCount_ = 0;
  TextArena texts_;
  Token* head_ = nullptr;
  Token* tail_ = nullptr;
  std::size_t size_ = 0;
};

}  // namespace zav
