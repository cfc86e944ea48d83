#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "cards/card.h"
#include "platform/large_block.h"

namespace zav {

struct SourceLine;

// Rebuilds the session's card list in one pass while cards are dropped.
// A dropped card's lines live on as comment lines: those of a run of dropped
// cards wait here and go in one step to the front of the next card kept, or to
// the end of the last card kept when the run ends the file. (Merging one card
// at a time would move the lines of a long run again and again.) Nothing
// observable depends on the moment of the merge except the line diagnostic 5
// quotes, which is why the first waiting line can be asked for.
class DroppedCardMerge {
 public:
  using CardList = std::vector<std::unique_ptr<Card>, LargeBlockAllocator<std::unique_ptr<Card>>>;

  // Builds a new list of the cards kept, offered one by one (Keep).
  explicit DroppedCardMerge(std::size_t expectedCards) { own_.reserve(expectedCards); }
  // Compacts `cards` in place instead, where each card is kept where it
  // stands (KeepAt) and the list then shrinks to the cards kept
  // (FinishInPlace): most imports drop few cards, and a second list of every
  // card would cost a move of each.
  explicit DroppedCardMerge(CardList& cards) : kept_(&cards) {}

  // Keeps `card`; the waiting lines go to its front. Inline: every card of
  // an import passes here, and most find no lines waiting.
  void Keep(std::unique_ptr<Card> card) {
    // Kept first: should memory run out while the lines move, the card is
    // owned here and goes with the rest.
    own_.push_back(std::move(card));
    ++count_;
    if (!waiting_.empty()) MergeWaiting();
  }
  // Keeps the card at `index` of the list compacted in place: every card
  // before it was kept or dropped already. A dropped card it passes over
  // changes places with it, and goes when the list shrinks.
  void KeepAt(std::size_t index) {
    CardList& list = *kept_;
    if (index != count_) std::swap(list[count_], list[index]);
    ++count_;
    if (!waiting_.empty()) MergeWaiting();
  }
  // Drops `card`, whose lines wait for the next card kept, or go to the last
  // card kept when `isLast`. When nothing was kept and this is the last card,
  // the file has no model at all: diagnostic 4 is filed, the lines go nowhere
  // and the result is false.
  bool Drop(const Card& card, bool isLast);

  // The first line of the waiting run, or none.
  const SourceLine* FirstWaitingLine() const { return waiting_.empty() ? nullptr : waiting_.front(); }

  // The cards kept, in order.
  CardList TakeKept() { return std::move(own_); }
  // The list compacted in place keeps only the cards kept, in order.
  void FinishInPlace() { kept_->erase(kept_->begin() + static_cast<std::ptrdiff_t>(count_), kept_->end()); }

 private:
  void ClearWaiting();
  // Moves the waiting lines to the front of the last card kept.
  void MergeWaiting();
  Card& LastKept() const { return *(*kept_)[count_ - 1]; }

  CardList own_;
  CardList* kept_ = &own_;  // own_, or the list compacted in place
  std::size_t count_ = 0;   // the cards kept so far
  // The waiting lines. Consecutive cards' lines are consecutive runs of the
  // session's lines, so the waiting lines are one run of them, which the
  // receiving card's lines simply extend to.
  LineList waiting_;
};

}  // namespace zav
