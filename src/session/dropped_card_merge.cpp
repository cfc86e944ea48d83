#include "session/dropped_card_merge.h"

#include <utility>

#include "diagnostics/add_diagnostic.h"

namespace zav {

void DroppedCardMerge::ClearWaiting() {
  waiting_ = {};
  gathered_.clear();
}

void DroppedCardMerge::Keep(std::unique_ptr<Card> card) {
  if (!waiting_.empty()) {
    card->PrependCommentLines(waiting_);
    ClearWaiting();
  }
  kept_.push_back(std::move(card));
}

bool DroppedCardMerge::Drop(const Card& card, bool isLast) {
  if (isLast && kept_.empty()) {
    AddDiagnostic(MessageCode::NoValidModels, nullptr);
    ClearWaiting();
    return false;
  }
  const std::span<SourceLine* const> lines = card.lines;
  if (waiting_.empty() && gathered_.empty()) {
    waiting_ = lines;
  } else if (gathered_.empty() && waiting_.data() + waiting_.size() == lines.data()) {
    waiting_ = std::span<SourceLine* const>(waiting_.data(), waiting_.size() + lines.size());
  } else {
    if (gathered_.empty()) gathered_.assign(waiting_.begin(), waiting_.end());
    gathered_.insert(gathered_.end(), lines.begin(), lines.end());
    waiting_ = gathered_;
  }
  if (isLast) {
    kept_.back()->AppendCommentLines(waiting_);
    ClearWaiting();
  }
  return true;
}

}  // namespace zav
