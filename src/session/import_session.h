#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cards/card.h"
#include "cards/card_store.h"
#include "cards/model_scope.h"
#include "platform/large_block.h"
#include "platform/no_case_index.h"
#include "session/card_runs.h"
#include "text/source_line.h"

namespace zav {

class EarlyTranslation;
class LineReader;
class ModelCard;
class SubcircuitModel;

// The allocator of an import's lines: large blocks, and no destruction of
// the lines one at a time. A line of an import owns no text (a comment line's
// text is kept in the import's store, see ConvertLineToComment), so that the
// lines go with their block, not by a walk over every line of the file.
template <typename T>
struct ImportLineAllocator : LargeBlockAllocator<T> {
  ImportLineAllocator() = default;
  template <typename U>
  ImportLineAllocator(const ImportLineAllocator<U>&) noexcept {}
  template <typename U>
  void destroy(U*) noexcept {}
};

// One import of one file: owns its lines, its cards and its top-level
// subcircuit models, and runs the pipeline from the raw lines to the list of
// models. Its address is the host's session handle.
class ImportSession final : public ModelScope {
 public:
  // The stages of an import, in the order they run.
  enum class Stage { Read, BuildCards, Parse, Classify, Collect, Link, Resolve };

  ImportSession();
  ImportSession(const ImportSession&) = delete;
  ImportSession& operator=(const ImportSession&) = delete;
  ~ImportSession();

  void SetStyle(int32_t styleCode);
  // Imports the file: runs the pipeline from reading the file through the
  // stage `last` (the whole of it unless a test or a benchmark looks at an
  // earlier stage). Called once per session.
  void Import(const char* path, Stage last = Stage::Resolve);

  // The first top-level model or subcircuit named `name` (case ignored).
  ImportedModel* FindModel(std::string_view name) const override;

  // The kind of a line by its first non-blank character.
  LineKind ClassifyLine(std::string_view text) const;

  // Writes a readable listing of the lines and cards.
  void Dump(std::FILE* out) const;

  // The host's walk over the models, with the session's one cursor: the
  // first model, or none without models; the model after the cursor, or
  // none at the end (and before any FirstModel).
  ImportedModel* FirstModel();
  ImportedModel* NextModel();

  int32_t style() const { return style_; }
  const std::string& path() const { return path_; }
  uint64_t fileSize() const { return fileSize_; }
  const std::string& lineCommentChars() const { return lineCommentChars_; }
  const std::string& inlineCommentChars() const { return inlineCommentChars_; }
  const std::vector<SourceLine, ImportLineAllocator<SourceLine>>& lines() const { return lines_; }
  const std::vector<std::unique_ptr<Card>, LargeBlockAllocator<std::unique_ptr<Card>>>& cards() const { return cards_; }
  // The host's models, in file order: top-level model cards and .SUBCKT
  // blocks.
  const std::vector<ImportedModel*>& models() const { return models_; }
  // What the import noted as it went.
  const ImportStatistics& statistics() const { return store_->statistics(); }

 private:
  // --- the stages -----------------------------------------------------------
  // Reads the file into lines and, with `groupCards`, groups them into the
  // runs of the cards (see CardRuns).
  void ReadFile(bool groupCards);
  void AddLine(std::string_view text, int32_t number, bool isInlineComment, LineKind kind);
  // Reports a line that belongs to no card and makes it a comment line.
  void KeepStrayLine(SourceLine& line);
  // The generic cards of the runs, for a caller that looks at them before
  // classification.
  void MakeGenericCards();
  void ParseCards();
  // With `translateEarly`, a model card whose translation reads only the
  // card is translated and finished as soon as it is classified, while it
  // holds its tokens (see TranslateEarly).
  void ClassifyCards(bool translateEarly);
  // `variant`: the next card, when it refers to this one by AKO.
  void TranslateEarly(ModelCard& model, bool insideDefinition, ModelCard* variant);
  // False when the import ends here (the last card had to be dropped).
  bool CollectModels();
  void LinkCards();
  void ResolveCards();
  void BuildModelIndex();

  int32_t style_ = 0;
  std::string lineCommentChars_;
  // Whether a byte is one of lineCommentChars_.
  std::array<bool, 256> lineCommentChar_{};
  std::string inlineCommentChars_;
  std::string path_;
  uint64_t fileSize_ = 0;  // when the import began; named if memory runs out
  // The file as read (see LineReader); the lines view it.
  LargeBuffer text_;
  // In file order. Filled once, by ReadFile: no line moves after that.
  // Every card's lines are a run of it.
  std::vector<SourceLine, ImportLineAllocator<SourceLine>> lines_;
  // The runs of lines that make a card each, as the reading groups them.
  CardRuns runs_;
  // The cards and what outlives their tokens; destroyed after them.
  std::unique_ptr<CardStore> store_;
  std::vector<std::unique_ptr<Card>, LargeBlockAllocator<std::unique_ptr<Card>>> cards_;
  std::vector<ImportedModel*> models_;  // not owned
  std::size_t modelCursor_ = 0;
  bool modelCursorSet_ = false;
  // The models of the top-level .SUBCKT blocks (the model cards belong to
  // `cards_`).
  std::vector<std::unique_ptr<SubcircuitModel>> definitions_;
  // The cards of the top-level blocks, block after block (see
  // SubcircuitModel).
  std::vector<Card*> blockCards_;
  // The cards translated early, until the resolve step has come to them.
  std::unique_ptr<EarlyTranslation> early_;
  // Name (letter case ignored) -> first model of that name in list order.
  NoCaseIndex<ImportedModel*> modelIndex_;
  bool indexBuilt_ = false;
};

}  // namespace zav
