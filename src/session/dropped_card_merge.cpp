#include "session/dropped_card_merge.h"

#include <utility>

#include "diagnostics/add_diagnostic.h"

namespace zav {

void DroppedCardMerge::ClearWaiting() { waiting_.clear(); }

void DroppedCardMerge::MergeWaiting() {
  LastKept().PrependCommentLines(waiting_);
  ClearWaiting();
}

bool DroppedCardMerge::Drop(const Card& card, bool isLast) {
  if (isLast && count_ == 0) {
    AddDiagnostic(MessageCode::NoValidModels, nullptr);
    ClearWaiting();
    return false;
  }
  waiting_.Append(card.lines);
  if (isLast) {
    LastKept().AppendCommentLines(waiting_);
    ClearWaiting();
  }
  return true;
}

}  // namespace zav
