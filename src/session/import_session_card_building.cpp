// ImportSession members: grouping the lines into generic cards.
#include <memory>

#include "diagnostics/add_diagnostic.h"
#include "session/import_session.h"

namespace zav {

void ImportSession::BuildCards() {
  std::size_t start = 0;
  std::size_t position = 0;
  while (position < lines_.size()) {
    SourceLine& line = lines_[position];
    switch (line.kind) {
      case LineKind::Control:
      case LineKind::Model:
      case LineKind::Subckt:
      case LineKind::Ends:
      case LineKind::Element:
        position = start = MakeCard(start, position);
        continue;
      case LineKind::Other:
      case LineKind::Continuation:
        // A stray line (a part name in brackets, a lone "-", a "+" with no
        // statement before it) is kept as a comment line of its own, so that
        // the statement after it is still read by its own first word.
        AddDiagnostic(MessageCode::UnexpectedLine, &line);
        ConvertLineToComment(line, &store_->statistics());
        break;
      case LineKind::Comment:
        break;
    }
    ++position;
  }
  // Comment lines (stray lines among them) after the last statement end up
  // in the last card; without any card they belong to none.
  if (!runs_.empty()) runs_.back().count = static_cast<uint32_t>(lines_.size() - runs_.back().first);
}

std::size_t ImportSession::MakeCard(std::size_t start, std::size_t first) {
  std::size_t last = first;
  for (std::size_t i = first + 1; i < lines_.size(); ++i) {
    const SourceLine& line = lines_[i];
    if (line.kind == LineKind::Continuation || (line.kind == LineKind::Comment && line.isInlineComment)) {
      last = i;
    } else if (line.kind != LineKind::Comment) {
      break;
    }
    // A whole comment line is passed over: it belongs to the statement only
    // when a later line of the statement follows it, else to the next card.
  }
  runs_.push_back(CardRun{static_cast<uint32_t>(start), static_cast<uint32_t>(last + 1 - start)});
  return last + 1;
}

void ImportSession::MakeGenericCards() {
  cards_.reserve(runs_.size());
  for (const CardRun& run : runs_) {
    std::unique_ptr<Card> card = NewCard<Card>(store_.get());
    card->store = store_.get();
    card->lines.Borrow(&lines_[run.first], run.count);
    cards_.push_back(std::move(card));
  }
}

}  // namespace zav
