// ImportSession members: grouping the lines into generic cards.
#include <memory>

#include "diagnostics/add_diagnostic.h"
#include "session/import_session.h"

namespace zav {

void ImportSession::BuildCards() {
  // One pass over the lines. A statement line opens a card; a continuation
  // line, or the comment part split off a line, extends the open card to it.
  // A whole comment line is passed over: it belongs to the statement only
  // when a later line of the statement follows it, else to the next card.
  // So a card's run ends at the last line of its statement, and the next
  // run starts right after it.
  std::size_t start = 0;
  std::size_t last = 0;
  bool open = false;
  const auto closeCard = [&] {
    runs_.push_back(CardRun{static_cast<uint32_t>(start), static_cast<uint32_t>(last + 1 - start)});
    start = last + 1;
    open = false;
  };
  for (std::size_t position = 0; position < lines_.size(); ++position) {
    SourceLine& line = lines_[position];
    switch (line.kind) {
      case LineKind::Control:
      case LineKind::Model:
      case LineKind::Subckt:
      case LineKind::Ends:
      case LineKind::Element:
        if (open) closeCard();
        open = true;
        last = position;
        break;
      case LineKind::Continuation:
        if (open) {
          last = position;
          break;
        }
        [[fallthrough]];
      case LineKind::Other:
        // A stray line (a part name in brackets, a lone "-", a "+" with no
        // statement before it) ends the open card and is kept as a comment
        // line of its own, so that the statement after it is still read by
        // its own first word.
        if (open) closeCard();
        AddDiagnostic(MessageCode::UnexpectedLine, &line);
        ConvertLineToComment(line, &store_->statistics());
        break;
      case LineKind::Comment:
        if (open && line.isInlineComment) last = position;
        break;
    }
  }
  if (open) closeCard();
  // Comment lines (stray lines among them) after the last statement end up
  // in the last card; without any card they belong to none.
  if (!runs_.empty()) runs_.back().count = static_cast<uint32_t>(lines_.size() - runs_.back().first);
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
