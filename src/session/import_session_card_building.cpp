// ImportSession members: the lines that belong to no card, and the generic
// cards of the runs.
#include <memory>

#include "diagnostics/add_diagnostic.h"
#include "session/import_session.h"

namespace zav {

void ImportSession::KeepStrayLine(SourceLine& line) {
  AddDiagnostic(MessageCode::UnexpectedLine, &line);
  ConvertLineToComment(line, store_.get());
}

void ImportSession::MakeGenericCards() {
  cards_.reserve(runs_.size());
  for (std::size_t i = 0; i < runs_.size(); ++i) {
    std::unique_ptr<Card> card = NewCard<Card>(store_.get());
    card->store = store_.get();
    card->lines.Borrow(&lines_[runs_[i].first], runs_[i].count);
    cards_.push_back(std::move(card));
  }
}

}  // namespace zav
