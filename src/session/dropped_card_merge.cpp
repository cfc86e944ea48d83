#include "session/dropped_card_merge.h"

#include <utility>

#include "diagnostics/add_diagnostic.h"

namespace zav {

void DroppedCardMerge::ClearWaiting() { waiting_.clear(); }

void DroppedCardMerge::MergeWaiting() {
  kept_.back()->PrependCommentLines(waiting_);
  ClearWaiting();
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
