#include "session/dropped_card_merge.h"

#include <utility>

#include "diagnostics/add_diagnostic.h"

namespace zav {

void DroppedCardMerge::ClearWaiting() { waiting_.clear(); }

void DroppedCardMerge::Keep(std::unique_ptr<Card> card) {
  // Kept first: should memory run out while the lines move, the card is
  // owned here and goes with the rest.
  kept_.push_back(std::move(card));
  if (!waiting_.empty()) {
    kept_.back()->PrependCommentLines(waiting_);
    ClearWaiting();
  }
}

bool DroppedCardMerge::Drop(const Card& card, bool isLast) {
  if (isLast && kept_.empty()) {
    AddDiagnostic(MessageCode::NoValidModels, nullptr);
    ClearWaiting();
    return false;
  }
  waiting_.Append(card.lines);
  if (isLast) {
    kept_.back()->AppendCommentLines(waiting_);
    ClearWaiting();
  }
  return true;
}

}  // namespace zav
