#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>

#include "diagnostics/diagnostic_batch.h"
#include "diagnostics/diagnostic_sink.h"
#include "models/model_card.h"

namespace zav {

// The model cards of an import translated as soon as they are classified:
// a card without an AKO reference reads nothing but itself in its
// translation, except what depends on the elements that use it, which the
// link finds later. Translated early, such a card makes its tokens once
// instead of twice (classification needs them too). What depends on its
// users is noted (its moves to them, a MOSFET's L/W check and note), and so
// are its diagnostics; when the resolve step comes to the card (Complete),
// the diagnostics are filed and the noted steps made among them, in the
// order the step would have had them. The cards are completed in the order
// they were translated.
class EarlyTranslation final : private DiagnosticSink {
 public:
  // `withTexts`: whether the diagnostics are kept with their texts (see
  // DiagnosticSink::WantsTexts).
  explicit EarlyTranslation(bool withTexts) : withTexts_(withTexts) {}
  EarlyTranslation(const EarlyTranslation&) = delete;
  EarlyTranslation& operator=(const EarlyTranslation&) = delete;

  // Translates the card, which holds its tokens, and finishes it.
  // `insideDefinition`: whether it stands in a .SUBCKT block; `ngspice`:
  // whether its brace expressions are rewritten for ngspice. `variant`: the
  // card after it when that one refers to it by AKO, which chooses what it
  // copies of the parameters as written before the translation changes
  // them (see ModelCard::ChooseAhead).
  void Translate(ModelCard& model, bool insideDefinition, bool ngspice, ModelCard* variant);
  // The card's turn in the resolve step: its diagnostics go to `sink`.
  void Complete(ModelCard& model, DiagnosticSink& sink);

  // For the card being translated.
  bool insideDefinition() const { return insideDefinition_; }
  const ModelCard* current() const { return current_; }
  void NoteMove(const ModelCard::InstanceMove& move);

 private:
  // What one card noted: how many diagnostics and moves, in order.
  struct Noted {
    std::uint32_t diagnostics;
    std::uint32_t moves;
  };

  // What is noted goes as soon as it is read, so that the notes of a large
  // file are never all held at once beside the list the diagnostics go to:
  // queues, and the diagnostics in batches of a bounded size.
  static constexpr std::size_t kBatchSize = 4096;
  // What the card being translated files goes to the batches, a new one
  // when the last is full.
  void File(const Diagnostic& diagnostic) override;
  bool WantsTexts() const override { return withTexts_; }
  // How many diagnostics were filed, and moves noted, so far: counted, not
  // worked out from the queues for every card.
  std::size_t recorded() const { return filed_; }

  bool withTexts_;
  std::deque<std::unique_ptr<DiagnosticBatch>> batches_;
  std::size_t firstKept_ = 0;  // how many diagnostics went with the batches read already
  std::size_t filed_ = 0;
  std::size_t movesNoted_ = 0;
  std::deque<ModelCard::InstanceMove> moves_;
  std::deque<Noted> noted_;
  const ModelCard* current_ = nullptr;
  bool insideDefinition_ = false;
  std::size_t firstDiagnostic_ = 0;  // of the card being translated
  std::size_t nextDiagnostic_ = 0;   // where Complete reads next
};

}  // namespace zav
