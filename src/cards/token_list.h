#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cards/brace_value.h"
#include "cards/param_entry.h"
#include "cards/text_arena.h"
#include "cards/token.h"

namespace zav {

class FinishedText;
struct TokenListRecords;

// A run of `size` characters at `data`: a piece of a card's finished text
// (see FinishedText), gathered in a list's scratch entries before it is kept.
// Twelve bytes, not sixteen: a large file's edited cards have pieces by the
// hundred thousand, and no card's text nears 4 GB.
#pragma pack(push, 4)
struct TextPiece {
  const char* data;
  std::uint32_t size;
};
#pragma pack(pop)

// What a card's parse recorded about its tokens, kept with them in the
// card's TokenList: empty while the list holds none.
struct TokenRecords {
  std::vector<ParamEntry> params;
  // The token lists of typed cards: an element's pins, a model's AKO tokens.
  std::vector<Token*> refs[2];
  // A token outside the list that keeps a card's name while the card holds
  // no tokens (see Card::ReleaseTokens).
  Token* keptName = nullptr;
  // How many of `params` the card's own text holds (the rest were added).
  std::uint32_t parsedParams = 0;
  // The brace expression a value element's parse found after its model name.
  BraceExpression braceValue;
  // The card's cursor over its significant tokens (see Card::FirstToken).
  Token* cursor = nullptr;
};

// Where the token lists of an import take their nodes from: blocks of many
// nodes, with the nodes of released lists kept for reuse, and the released
// lists' records (see TokenList) kept likewise. An import has one pool for
// all its cards, so that a card holding tokens costs no heap block of its
// own; a list made on its own (a test's, say) has a pool of its own.
class TokenPool {
 public:
  explicit TokenPool(std::size_t firstBlock = 1024, std::size_t maxBlock = 1024);
  TokenPool(const TokenPool&) = delete;
  TokenPool& operator=(const TokenPool&) = delete;
  ~TokenPool();

  // A node whose fields the caller sets.
  Token* AllocateNode() {
    if (freeNodes_ != nullptr) {
      Token* token = freeNodes_;
      freeNodes_ = token->next;
      --freeCount_;
      return token;
    }
    if (blockNext_ != blockEnd_) return blockNext_++;
    return AllocateFromNewBlock();
  }
  void FreeNode(Token* token) {
    token->next = freeNodes_;
    freeNodes_ = token;
    ++freeCount_;
  }
  // Frees the chain of the `count` nodes from `first` to `last` in one step.
  void FreeChain(Token* first, Token* last, std::size_t count) {
    last->next = freeNodes_;
    freeNodes_ = first;
    freeCount_ += count;
  }

  // For a writer that takes many nodes in a row (TokenList::BorrowedAppender,
  // TokenList::KeptInserter): the pool's free nodes, chained through `next`,
  // at least one (fresh nodes when none was free), and in `count` how many.
  // The pool holds none of them until they come back by GiveBackFreeNodes.
  Token* TakeFreeNodes(std::size_t& count) {
    if (freeNodes_ == nullptr) ChainFreshNodes();
    count = freeCount_;
    freeCount_ = 0;
    Token* chain = freeNodes_;
    freeNodes_ = nullptr;
    return chain;
  }
  // Makes at least `count` nodes free, fresh ones put before the free
  // nodes: for a writer that knows how many it may need at most.
  [[gnu::noinline]] void Reserve(std::size_t count);
  // Whether `text` lies in room a list of this pool was given by KeepRoom
  // lately (in the chunk being filled): such text lasts as long as the pool.
  bool KeptLately(std::string_view text) const { return keptTexts_.HoldsRecent(text.data(), text.size()); }

  // Gives back what is left of the nodes TakeFreeNodes gave, `count` of
  // them (none: nothing).
  void GiveBackFreeNodes(Token* chain, std::size_t count) {
    if (freeNodes_ == nullptr) {
      freeNodes_ = chain;
    } else if (chain != nullptr) {
      GiveBackBefore(chain);
    }
    freeCount_ += count;
  }

 private:
  friend class TokenList;

  Token* AllocateFromNewBlock();
  void AddBlock();
  // Makes fresh nodes of the newest block the free nodes.
  void ChainFreshNodes();
  // Puts `chain` before the free nodes.
  void GiveBackBefore(Token* chain);
  TokenListRecords* AcquireRecords();
  // Records released before, of which there are some.
  TokenListRecords* ReuseRecords();
  void ReleaseRecords(TokenListRecords* records);

  std::vector<std::unique_ptr<Token[]>> blocks_;
  Token* blockNext_ = nullptr;  // the unused rest of the newest block
  Token* blockEnd_ = nullptr;
  std::size_t nextBlock_;
  std::size_t maxBlock_;
  Token* freeNodes_ = nullptr;  // chained through `next`
  // How many: a writer that takes them all knows how far it may go without
  // asking for more (see TokenList::BorrowedAppender).
  std::size_t freeCount_ = 0;
  // Chained through `nextFree`: releasing a list allocates nothing, so a
  // card can always be destroyed, also when memory has run out.
  TokenListRecords* freeRecords_ = nullptr;
  // The texts the lists' edits write (see TokenList::KeepRoom), kept as long
  // as the pool, which is as long as the import's cards: a card's finished
  // text views them where they stand instead of copying them.
  TextArena keptTexts_{4096, 1024 * 1024};
};

// The records of one token list: its tokens, the texts it keeps, and what
// the parse recorded. Kept by the pool for reuse once their list is
// released.
struct TokenListRecords {
  Token* head = nullptr;
  Token* tail = nullptr;
  std::size_t size = 0;
  TokenPool* pool = nullptr;
  TokenListRecords* nextFree = nullptr;  // in the pool's list of free records
  // The pool of a list that was given none; `pool` points at it.
  std::unique_ptr<TokenPool> ownPool;
  TextArena texts{256, 4096};
  TokenRecords recorded;
  // Room to build a text in before the list keeps it (see Scratch), and to
  // gather pieces of text in (see FinishedText). The pieces are scratch
  // entries whose count only grows, so that filling them costs no setting
  // to zero first.
  std::string scratch;
  std::vector<TextPiece> pieces;
};

inline TokenListRecords* TokenPool::ReuseRecords() {
  TokenListRecords* records = freeRecords_;
  freeRecords_ = records->nextFree;
  records->nextFree = nullptr;
  return records;
}

// The ordered tokens of one card: an intrusive doubly linked list whose nodes
// come from a TokenPool, so that insertion and removal anywhere are O(1) and
// pointers to tokens stay valid while other tokens come and go. Together with
// the tokens the list holds what the card's parse recorded about them (its
// parameter entries and the token lists of typed cards, see ParamList and
// TokenRefList): they are valid exactly as long as the tokens, and go with
// them when a card's tokens are handed to another card or released.
//
// The list itself is one pointer. A card that holds no tokens (one whose
// text is all its import still needs) holds nothing else either.
class TokenList {
 public:
  TokenList() = default;
  TokenList(const TokenList&) = delete;
  TokenList& operator=(const TokenList&) = delete;
  // Takes the tokens and their records over; the source is left empty.
  // Token addresses stay.
  TokenList(TokenList&& other) noexcept : bits_(other.bits_) { other.bits_ = 0; }
  TokenList& operator=(TokenList&& other) noexcept {
    if (this == &other) return *this;
    Release();
    bits_ = other.bits_;
    other.bits_ = 0;
    return *this;
  }
  ~TokenList() { Release(); }

  // Empties the list; it takes its nodes from `pool` from now on (none: from
  // a pool of its own). Inline where the pool has records to reuse, as it
  // has for all but the first few of an import's cards.
  void Reset(TokenPool* pool) {
    Release();
    if (pool != nullptr && pool->freeRecords_ != nullptr) {
      bits_ = reinterpret_cast<std::uintptr_t>(pool->ReuseRecords());
      return;
    }
    ResetWithNewRecords(pool);
  }
  // Releases the tokens and their records back to their pool. Inline where
  // there is nothing to release: a card's list is moved, reset and destroyed
  // empty more often than not.
  void Release() {
    if (Records() != nullptr) ReleaseHeld();
  }
  // Whether the list holds tokens or records (it may be empty and still
  // hold records of none).
  bool holds() const { return Records() != nullptr; }
  // What the parse recorded about the tokens: none while nothing is held.
  TokenRecords* recorded() const { return Records() != nullptr ? &Records()->recorded : nullptr; }
  // The same, made when the list holds nothing yet.
  TokenRecords& HoldRecorded() { return Hold().recorded; }

  Token* front() const { return Records() != nullptr ? Records()->head : nullptr; }
  Token* back() const { return Records() != nullptr ? Records()->tail : nullptr; }
  std::size_t size() const { return Records() != nullptr ? Records()->size : 0; }

  // The text a card keeps once it will not change again (see Card::Finish):
  // held in the place of the records, which it has released by then.
  const FinishedText* finished() const {
    return (bits_ & 1) != 0 ? reinterpret_cast<const FinishedText*>(bits_ & ~std::uintptr_t{1}) : nullptr;
  }
  // Gives the finished text up, leaving the list empty: for a look at the
  // card's words, after which SetFinished puts it back.
  const FinishedText* TakeFinished() {
    const FinishedText* text = finished();
    if (text != nullptr) bits_ = 0;
    return text;
  }
  void SetFinished(const FinishedText* text) {
    Release();
    bits_ = reinterpret_cast<std::uintptr_t>(text) | 1;
  }
  bool empty() const { return size() == 0; }

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
  Token* PushBackBorrowed(TokenKind kind, std::string_view text, SourceLine* line) {
    TokenListRecords& records = Hold();
    Token* token = records.pool->AllocateNode();
    token->kind = kind;
    token->text = text;
    token->line = line;
    token->next = nullptr;
    token->prev = records.tail;
    if (records.tail != nullptr) records.tail->next = token; else records.head = token;
    records.tail = token;
    ++records.size;
    return token;
  }

  // Appends many tokens in a row as PushBackBorrowed does, for the
  // tokenizer. While open, the appender holds the pool's free nodes and the
  // list's tail; Close gives back the nodes it did not use and ends the
  // list. In between, nothing but its appends may read the list or use the
  // pool: its writer closes it before anything that may throw (an
  // allocation, a diagnostic), so that the tokens appended until then stay,
  // and opens it again after. Inline, and a local of its writer that no
  // call sees: its fields can then stay in registers (see tokenizer.cpp).
  //
  // The nodes are taken in the order of their chain, which follows the last
  // token throughout: each node's `next` is already the token after it, and
  // an append writes neither that nor the list's head or size. The chain
  // holds `room` nodes, which an append counts down: a writer that makes
  // room (see TokenPool::Reserve) for a run of at most that many appends
  // need not look for the chain's end at each of them.
  class BorrowedAppender {
   public:
    explicit BorrowedAppender(TokenList& list) : records_(list.Hold()) { Open(); }
    BorrowedAppender(const BorrowedAppender&) = delete;
    BorrowedAppender& operator=(const BorrowedAppender&) = delete;

    void Open() {
      tail = records_.tail;
      freeNodes = records_.pool->TakeFreeNodes(room);
      taken_ = room;
      Follow(freeNodes);
    }
    void Close() {
      Follow(nullptr);
      records_.pool->GiveBackFreeNodes(freeNodes, room);
      records_.tail = tail;
      records_.size += taken_ - room;
    }
    TokenPool& pool() const { return *records_.pool; }

    // The last token of the list; none while it is empty.
    Token* tail;
    // Nodes to take, chained through `next`, and how many.
    Token* freeNodes;
    std::size_t room;

   private:
    // Makes `next` what follows the last token (the first of an empty list).
    void Follow(Token* next) { (tail != nullptr ? tail->next : records_.head) = next; }

    TokenListRecords& records_;
    // How many nodes the chain was given: those not left are the tokens
    // appended.
    std::size_t taken_;
  };

  // Room for `size` characters, to be filled by the caller: for a text
  // written once and cut into several tokens (see InsertKeptAfter), which
  // then follow each other in memory. The room lasts as long as the list's
  // pool, not only as long as the list: for long texts, which the card's
  // finished text then views instead of copying.
  char* KeepRoom(std::size_t size) { return Hold().pool->keptTexts_.Allocate(size); }
  // The same, lasting only as long as the list holds its tokens: for short
  // texts, which a finished text copies anyway, and for a writer that asks
  // for more room than it may use. Only for a list that holds tokens (an
  // edit's, which asks nothing more).
  char* KeepRoomWhileHeld(std::size_t size) { return Records()->texts.Allocate(size); }
  // The pool the list takes its nodes from; none while it holds nothing.
  const TokenPool* pool() const { return Records() != nullptr ? Records()->pool : nullptr; }
  // Inserts a new token after `position` (none: at the front) whose text is
  // `text` itself, not a copy: text from KeepRoom, or a view that lives as
  // long as the list.
  Token* InsertKeptAfter(Token* position, TokenKind kind, std::string_view text, SourceLine* line) {
    TokenListRecords& records = Hold();
    Token* token = NewNode(records, kind, text, line);
    return Link(records, token, position, position != nullptr ? position->next : records.head);
  }
  // The same before `position` (none: at the back), for a list that holds
  // tokens.
  Token* InsertKeptBefore(Token* position, TokenKind kind, std::string_view text, SourceLine* line) {
    TokenListRecords& records = *Records();
    Token* token = NewNode(records, kind, text, line);
    return Link(records, token, position != nullptr ? position->prev : records.tail, position);
  }
  // Inserts many tokens in a row after `position` (none: at the front) as
  // InsertKeptAfter does, for an edit that adds whole lines and knows how
  // many tokens it adds at most (`count`). It makes that many of the pool's
  // nodes free first and takes them, chained already: a token is a node
  // taken and its fields set, with no look for the chain's end. The run is
  // linked to the token that followed `position` when the inserter goes
  // (also when an allocation throws: the tokens inserted until then stay).
  // Meanwhile nothing may read the list or take nodes of its pool. Inline,
  // to be used where it is made: its fields can then stay in registers.
  class KeptInserter {
   public:
    KeptInserter(TokenList& list, Token* position, std::size_t count)
        : records_(list.Hold()),
          last_(position),
          following_(position != nullptr ? position->next : records_.head) {
      if (records_.pool->freeCount_ < count) records_.pool->Reserve(count);
      freeNodes_ = records_.pool->TakeFreeNodes(taken_);
      Follow(freeNodes_);
    }
    KeptInserter(const KeptInserter&) = delete;
    KeptInserter& operator=(const KeptInserter&) = delete;
    ~KeptInserter() {
      Follow(following_);
      if (added_ != 0) (following_ != nullptr ? following_->prev : records_.tail) = last_;
      records_.pool->GiveBackFreeNodes(freeNodes_, taken_ - added_);
      records_.size += added_;
    }

    // At most `count` of them (see the constructor).
    Token* Add(TokenKind kind, std::string_view text, SourceLine* line) {
      Token* token = freeNodes_;
      freeNodes_ = token->next;
      token->kind = kind;
      token->text = text;
      token->line = line;
      token->prev = last_;
      last_ = token;
      ++added_;
      return token;
    }
    // The last token inserted (`position` before the first).
    Token* last() const { return last_; }
    // The list's records and room, without asking again whether it holds
    // them (see TokenList::HoldRecorded and TokenList::KeepRoom).
    TokenRecords& recorded() const { return records_.recorded; }
    char* KeepRoom(std::size_t size) const { return records_.pool->keptTexts_.Allocate(size); }

   private:
    // Makes `next` what follows the last token (the first of an empty list).
    void Follow(Token* next) { (last_ != nullptr ? last_->next : records_.head) = next; }

    TokenListRecords& records_;
    Token* last_;
    Token* const following_;
    std::size_t taken_ = 0;  // how many nodes were taken, `added_` of them used
    Token* freeNodes_ = nullptr;  // nodes to take, chained through `next`
    std::size_t added_ = 0;
  };
  // Gives the token a copy of `text` that the list keeps.
  void SetText(Token* token, std::string_view text) { token->text = Keep(text); }
  // A copy of `text` that lives as long as the list's tokens.
  std::string_view Keep(std::string_view text);
  // A string to build a text in before it is kept: reused, so that an edit
  // takes no heap block of its own.
  std::string& Scratch() { return Hold().scratch; }
  std::vector<TextPiece>& ScratchPieces() { return Hold().pieces; }

  // Unlinks the token. Returns the token that followed it.
  Token* Erase(Token* token);
  // Unlinks the tokens from `first` up to `end` (not included; none: to the
  // back of the list) in one step.
  void EraseRun(Token* first, Token* end);
  // The same for a run its caller has walked already: the `count` tokens
  // from `first` to `last`, both included. Inline: every comment-out ends
  // with it.
  void EraseRun(Token* first, Token* last, std::size_t count) {
    TokenListRecords& records = *Records();
    Token* before = first->prev;
    Token* end = last->next;
    if (before) before->next = end; else records.head = end;
    if (end) end->prev = before; else records.tail = before;
    records.pool->FreeChain(first, last, count);
    records.size -= count;
  }

  // Moves the run from `first` to `last` (inclusive, in list order) so that
  // it follows `position`, which must not lie inside the run; a null position
  // moves it to the front. The tokens themselves stay where they are in
  // memory.
  void MoveAfter(Token* first, Token* last, Token* position);

  // Removes every token, from the last to the first; the records stay.
  void Clear();

  // Makes room for `count` more tokens.
  void Reserve(std::size_t count);

  // The token at a position from the front, or none; O(n).
  Token* At(std::size_t index) const;

 private:
  void ReleaseHeld();
  void ResetWithNewRecords(TokenPool* pool);
  // Called out of ReleaseHeld, so that the usual release saves no
  // registers for the calls it makes.
  [[gnu::noinline]] static void DeleteWithOwnPool(TokenListRecords* records);
  TokenListRecords& Hold() {
    if (Records() == nullptr) Reset(nullptr);
    return *Records();
  }
  // A node of the list's pool with the token's fields set, not linked yet.
  static Token* NewNode(TokenListRecords& records, TokenKind kind, std::string_view text, SourceLine* line) {
    Token* token = records.pool->AllocateNode();
    token->kind = kind;
    token->text = text;
    token->line = line;
    return token;
  }
  // Links `token` between `before` and `after` (neighbours, or none at an
  // end of the list).
  static Token* Link(TokenListRecords& records, Token* token, Token* before, Token* after) {
    token->prev = before;
    token->next = after;
    if (before != nullptr) before->next = token; else records.head = token;
    if (after != nullptr) after->prev = token; else records.tail = token;
    ++records.size;
    return token;
  }

  TokenListRecords* Records() const {
    return (bits_ & 1) != 0 ? nullptr : reinterpret_cast<TokenListRecords*>(bits_);
  }

  // The records, or (with the lowest bit set) a finished text.
  std::uintptr_t bits_ = 0;
};

// A card's parameter entries, kept in its TokenList: a view with the
// interface of a vector.
class ParamList {
 public:
  using value_type = ParamEntry;
  using iterator = ParamEntry*;
  using const_iterator = const ParamEntry*;

  explicit ParamList(TokenList& tokens) : tokens_(tokens) {}
  ParamList(const ParamList&) = delete;
  ParamList& operator=(const ParamList&) = delete;

  ParamEntry* begin() const { return Vector() ? Vector()->data() : nullptr; }
  ParamEntry* end() const { return Vector() ? Vector()->data() + Vector()->size() : nullptr; }
  std::size_t size() const { return Vector() ? Vector()->size() : 0; }
  bool empty() const { return size() == 0; }
  ParamEntry& operator[](std::size_t index) const { return (*Vector())[index]; }
  ParamEntry& front() const { return Vector()->front(); }
  ParamEntry& back() const { return Vector()->back(); }

  void push_back(const ParamEntry& entry) { Held().push_back(entry); }
  void reserve(std::size_t count) { Held().reserve(count); }
  void clear() {
    if (Vector()) Vector()->clear();
  }
  void erase(ParamEntry* position) { Held().erase(Held().begin() + (position - begin())); }
  // Removes every entry for which `remove` holds, keeping the others' order.
  template <typename Predicate>
  void EraseIf(Predicate remove) {
    if (Vector()) std::erase_if(*Vector(), remove);
  }

 private:
  std::vector<ParamEntry>* Vector() const {
    TokenRecords* recorded = tokens_.recorded();
    return recorded != nullptr ? &recorded->params : nullptr;
  }
  std::vector<ParamEntry>& Held() { return tokens_.HoldRecorded().params; }

  TokenList& tokens_;
};

// A list of tokens a typed card's parse recorded (its slot in the card's
// TokenList): a view with the interface of a vector.
template <int Slot>
class TokenRefList {
 public:
  using value_type = Token*;
  using iterator = Token* const*;

  explicit TokenRefList(TokenList& tokens) : tokens_(tokens) {}
  TokenRefList(const TokenRefList&) = delete;
  TokenRefList& operator=(const TokenRefList&) = delete;

  Token* const* begin() const { return Vector() ? Vector()->data() : nullptr; }
  Token* const* end() const { return Vector() ? Vector()->data() + Vector()->size() : nullptr; }
  std::size_t size() const { return Vector() ? Vector()->size() : 0; }
  bool empty() const { return size() == 0; }
  Token* operator[](std::size_t index) const { return (*Vector())[index]; }
  Token* front() const { return Vector()->front(); }
  Token* back() const { return Vector()->back(); }

  void push_back(Token* token) { Held().push_back(token); }
  void pop_back() { Held().pop_back(); }
  void reserve(std::size_t count) { Held().reserve(count); }
  void clear() {
    if (Vector()) Vector()->clear();
  }

 private:
  std::vector<Token*>* Vector() const {
    TokenRecords* recorded = tokens_.recorded();
    return recorded != nullptr ? &recorded->refs[Slot] : nullptr;
  }
  std::vector<Token*>& Held() { return tokens_.HoldRecorded().refs[Slot]; }

  TokenList& tokens_;
};

}  // namespace zav
