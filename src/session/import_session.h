#pragma once

#include <cstdint>
#include <cstdio>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cards/card.h"
#include "cards/model_scope.h"
#include "cards/text_arena.h"
#include "platform/no_case_hash.h"
#include "text/source_line.h"

namespace zav {

class LineReader;
class SubcircuitModel;

// One import of one file: owns its lines, its cards and its top-level
// subcircuit models, and runs the pipeline from the raw lines to the list of
// models. Its address is the host's session handle.
class ImportSession final : public ModelScope {
 public:
  ImportSession();
  ImportSession(const ImportSession&) = delete;
  ImportSession& operator=(const ImportSession&) = delete;
  ~ImportSession();

  void SetStyle(int32_t styleCode);
  void Import(const char* path);

  // The first top-level model or subcircuit named `name` (case ignored).
  ImportedModel* FindModel(std::string_view name) const override;

  // Writes a readable listing of the lines and cards.
  void Dump(std::FILE* out) const;

  // --- pipeline stages (public so that tests can drive them) --------------
  void ReadFile();
  // The next piece of at most 511 characters (through its line feed, if it
  // has one); false at the end of the file or on a read error, which files
  // the read diagnostic.
  bool ReadLine(LineReader& reader, std::string& piece);
  LineKind ClassifyLine(std::string_view text) const;
  void AddLine(std::string_view text, int32_t number, bool isInlineComment);
  void AddLine(std::string_view text, int32_t number, bool isInlineComment, LineKind kind);
  void BuildCards();
  std::size_t MakeCard(std::size_t start, std::size_t first);
  void ParseCards();
  void ClassifyCards();
  // False when the import ends here (the last card had to be dropped).
  bool CollectModels();
  void LinkCards();
  void ResolveCards();

  int32_t style = 0;
  std::string lineCommentChars;
  std::string inlineCommentChars;
  std::string path;
  bool hasPath = false;
  std::deque<SourceLine> lines;  // stable addresses
  std::vector<std::unique_ptr<Card>> cards;
  std::vector<ImportedModel*> models;  // the host's model handles, in file order; not owned
  std::size_t modelCursor = 0;
  bool modelCursorSet = false;

 private:
  void BuildModelIndex();
  // The models of the top-level .SUBCKT blocks (the model cards belong to
  // `cards`).
  std::vector<std::unique_ptr<SubcircuitModel>> definitions_;
  // The texts of `lines`, read once and kept for the session's lifetime.
  TextArena lineTexts_{1 << 16, 1 << 20};
  // Name (letter case ignored) -> first model of that name in list order.
  NoCaseMap<ImportedModel*> modelIndex_;
  bool indexBuilt_ = false;
};

}  // namespace zav
