#pragma once

#include <cstddef>
#include <memory>
#include <span>
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
  explicit DroppedCardMerge(std::size_t expectedCards) { kept_.reserve(expectedCards); }

  // Keeps `card`; the waiting lines go to its front. Inline: every card of
  // an import passes here, and most find no lines waiting.
  void Keep(std::unique_ptr<Card> card) {
    // Kept first: should memory run out while the lines move, the card is
    // owned here and goes with the rest.
    kept_.push_back(std::move(card));
    if (!waiting_.empty()) MergeWaiting();
  }
  // Drops `card`, whose lines wait for the next card kept, or go to the last
  // card kept when `isLast`. When nothing was kept and this is the last card,
  // the file has no model at all: diagnostic 4 is filed, the lines go nowhere
  // and the result is false.
  bool Drop(const Card& card, bool isLast);

  // The first line of the waiting run, or none.
  const SourceLine* FirstWaitingLine() const { return waiting_.empty() ? nullptr : waiting_.front(); }
  using CardList = std::vector<std::unique_ptr<Card>, LargeBlockAllocator<std::unique_ptr<Card>>>;

  // The cards kept, in order.
  CardList TakeKept() { return std::move(kept_); }

 private:
  void ClearWaiting();
  // Moves the waiting lines to the front of the last card kept.
  void MergeWaiting();

  CardList kept_;
  // The waiting lines. Consecutive cards' lines are consecutive runs of the
  // session's lines, so the waiting lines are one run of them, which the
  // receiving card's lines simply extend to.
  LineList waiting_;
};

}  // namespace zav
