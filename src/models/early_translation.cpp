#include "models/early_translation.h"

#include <algorithm>

#include "cards/card_store.h"
#include "diagnostics/diagnostic_sink.h"

namespace zav {
bool ModelCard::translatingEarly() const { return early() != nullptr && early()->current() == this; }

void EarlyTranslation::File(const Diagnostic& diagnostic) {
  if (batches_.back()->size() == kBatchSize) batches_.push_back(std::make_unique<DiagnosticBatch>(withTexts_));
  batches_.back()->File(diagnostic);
  ++filed_;
}

void EarlyTranslation::Translate(ModelCard& model, bool insideDefinition, bool ngspice, ModelCard* variant) {
  if (variant != nullptr) variant->ChooseAhead(model);
  const std::size_t movesBefore = movesNoted_;
  if (batches_.empty()) batches_.push_back(std::make_unique<DiagnosticBatch>(withTexts_));
  firstDiagnostic_ = recorded();
  current_ = &model;
  insideDefinition_ = insideDefinition;
  model.SetEarly(this);
  {
    ScopedDiagnosticSink scope(*this);
    model.Resolve();
    if (ngspice) model.RewriteBraceExpressions();
    model.Finish();
  }
  current_ = nullptr;
  noted_.push_back(Noted{static_cast<std::uint32_t>(recorded() - firstDiagnostic_),
                         static_cast<std::uint32_t>(movesNoted_ - movesBefore)});
}

void EarlyTranslation::NoteMove(const ModelCard::InstanceMove& noted) {
  // The texts may be the card's tokens', which go when it is finished. The
  // elements' name for the parameter is its own name, or one the program
  // holds (a table's target, "TC"), which stays as it is.
  CardStore& store = *current_->store;
  ModelCard::InstanceMove& move = moves_.emplace_back(noted);
  const bool ownName = move.instanceName.data() == move.name.data();
  move.name = store.KeepText(move.name);
  move.value = store.KeepText(move.value);
  if (ownName) move.instanceName = move.name;
  move.mergedValue = store.KeepText(move.mergedValue);
  move.diagnosticsBefore = static_cast<std::uint32_t>(recorded() - firstDiagnostic_);
  ++movesNoted_;
}

void EarlyTranslation::Complete(ModelCard& model, DiagnosticSink& sink) {
  const Noted noted = noted_.front();
  noted_.pop_front();
  std::uint32_t filed = 0;
  auto fileUpTo = [&](std::uint32_t count) {
    while (filed < count) {
      if (nextDiagnostic_ - firstKept_ == kBatchSize) {
        // Every diagnostic of the first batch has been read.
        batches_.pop_front();
        firstKept_ += kBatchSize;
      }
      // The run up to `count`, or to the end of the first batch.
      const std::size_t first = nextDiagnostic_ - firstKept_;
      const std::size_t run = std::min<std::size_t>(count - filed, kBatchSize - first);
      sink.FileFrom(*batches_.front(), first, run);
      filed += static_cast<std::uint32_t>(run);
      nextDiagnostic_ += run;
    }
  };
  model.BeforeEarlyDiagnostics();
  bool tcMerged = false;
  for (std::uint32_t i = 0; i < noted.moves; ++i) {
    const ModelCard::InstanceMove& move = moves_.front();
    fileUpTo(move.diagnosticsBefore);
    model.MoveToUsers(move, tcMerged);
    moves_.pop_front();
  }
  fileUpTo(noted.diagnostics);
  model.AfterEarlyDiagnostics();
  model.SetEarly(nullptr);
}

}  // namespace zav
