#include "session/dropped_card_merge.h"

#include <utility>

#include "diagnostics/add_diagnostic.h"

namespace zav {

void DroppedCardMerge::Keep(std::unique_ptr<Card> card) {
  // Kept first: should memory run out while the lines move, the card is
  // owned here and goes with the rest.
  kept_.push_back(std::move(card));
  if (!waiting_.empty()) {
    kept_.back()->PrependCommentLines(waiting_);
    waiting_.clear();
  }
}

bool DroppedCardMerge::Drop(const Card& card, bool isLast) {
  if (isLast && kept_.empty()) {
    AddDiagnostic(MessageCode::NoValidModels, nullptr);
    waiting_.clear();
    return false;
  }
  waiting_.insert(waiting_.end(), card.lines.begin(), card.lines.end());
  if (isLast) {
    kept_.back()->AppendCommentLines(waiting_);
    waiting_.clear();
  }
  return true;
}

}  // namespace zav
