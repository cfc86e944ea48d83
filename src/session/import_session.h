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
#include "cards/text_arena.h"
#include "session/source_line.h"

namespace zav {

class LineReader;
class SubcircuitModel;

// One import of one file: owns its lines, its cards and its top-level
// subcircuit models, and runs the pipeline from the raw lines to the list of
// models. Its address is the host's session handle.
class ImportSession {
 public:
  ImportSession();
  ImportSession(const ImportSession&) = delete;
  ImportSession& operator=(const ImportSession&) = delete;
  ~ImportSession();

  void SetStyle(int32_t styleCode);
  void Import(const char* path);

  // The first top-level model or subcircuit named `name` (case ignored).
  ImportedModel* FindModel(std::string_view name) const;

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
  uint64_t fileSize = 0;  // when the import began; named if memory runs out
  std::deque<SourceLine> lines;  // stable addresses
  std::vector<std::unique_ptr<Card>> cards;
  std::vector<ImportedModel*> models;  // owns the entries of origin Subcircuit
  std::size_t modelCursor = 0;
  bool modelCursorSet = false;

 private:
  void BuildModelIndex();
  // The texts of `lines`, read once and kept for the session's lifetime.
  TextArena lineTexts_{1 << 16, 1 << 20};
  // Upper-cased name -> first model of that name in list order.
  std::unordered_map<std::string, ImportedModel*> modelIndex_;
  bool indexBuilt_ = false;
};

}  // namespace zav
