#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cards/card_kind.h"
#include "cards/imported_model.h"
#include "cards/param_entry.h"
#include "cards/token.h"
#include "cards/token_list.h"

namespace zav {

struct SourceLine;

// Turns a line into a comment line: clears its inline-comment flag and, unless
// it already is a comment line, makes its text "* " followed by the text as
// read and its kind LineKind::Comment.
void ConvertLineToComment(SourceLine& line);

// Selects the deriving constructor of the typed cards: the new card takes the
// source's lines, tokens and parameter entries over, and the source is left
// empty. Classification derives every typed card this way: the generic and
// temporary cards it derives from are discarded right afterwards, so copying
// would only cost time. When a typed
// card is rejected, its lines are handed back, since the session still needs
// them to keep the rejected card's text as comments.
struct TakeOver {};

// One logical statement of the input: its first line with the continuation
// and comment lines the session attached to it, the tokens made from them,
// and its parameter entries. The base of every typed card.
class Card : public ImportedModel {
 public:
  Card() = default;
  Card(Card& source, TakeOver);
  ~Card() override;

  // --- virtual operations ------------------------------------------------
  // Not a model: empty. ModelCard overrides it with OutputText.
  std::string ModelText() const override { return std::string(); }
  // Lists the card's lines for the session dump.
  virtual void Print(std::FILE* out) const;
  // Releases the tokens and tokenizes every line again.
  virtual void Parse();
  // Second post-pass: per-kind completion of the translation.
  virtual void Resolve() {}
  // First post-pass: links references by name.
  virtual void Link() {}
  // The texts of all tokens, concatenated.
  virtual std::string Text() const;

  // The text to write out: Text() once the card was edited, else the current
  // texts of its lines.
  std::string OutputText() const;

  // --- lines --------------------------------------------------------------
  void AddLine(SourceLine* line);
  void PrependCommentLine(SourceLine* line);
  void AppendCommentLine(SourceLine* line);
  // The same as PrependCommentLine for each line from the last to the first,
  // in one pass.
  void PrependCommentLines(std::span<SourceLine* const> lines);
  // The same as AppendCommentLine for each line from the first to the last.
  void AppendCommentLines(std::span<SourceLine* const> lines);

  // --- tokens -------------------------------------------------------------
  void TokenizeLine(SourceLine* line);
  // Significant tokens (Keyword, Name, Number) through the card's cursor.
  Token* FirstToken();
  Token* NextToken();
  // The line of the first significant token, else the card's first line, else
  // none: where a diagnostic about the card as a whole points. Leaves the
  // token cursor alone.
  const SourceLine* FirstSignificantLine() const;

  // --- the text writer ----------------------------------------------------
  // Adds "+ NAME = VALUE" on a continuation line of its own (with the note as
  // "    ; NOTE" when given), or, when the card already has the parameter,
  // replaces its value (replace set) or leaves it (replace clear).
  void AddParameter(std::string_view name, std::string_view value, TokenKind valueKind,
                    std::optional<std::string_view> note, bool replace);
  // The two halves of AddParameter, for a caller that adds many parameters
  // in a row and keeps its own record of the names present: where the next
  // added line goes (the token to insert after, and whether a line feed must
  // come first), and the insertion itself, without looking for an existing
  // parameter of that name. InsertParameter returns the last token it
  // inserted; the next parameter of the row goes right after it.
  Token* ParameterInsertionPoint(bool& lineFeedFirst) const;
  Token* InsertParameter(Token* after, bool lineFeedFirst, std::string_view name,
                         std::string_view value, TokenKind valueKind,
                         std::optional<std::string_view> note);
  // Replaces the run from `first` to `last` (inclusive; `first` is never the
  // card's first token) by comment lines, each a line of its own. The rest of
  // the run's line follows on a continuation line only when it is code.
  void CommentOutTokens(Token* first, Token* last);
  // CommentOutTokens on the run between two tokens of the card.
  void CommentOutBetween(Token* first, Token* last);

  // --- fields -------------------------------------------------------------
  CardKind kind = CardKind::Unknown;
  bool valid = true;
  bool changed = false;
  std::vector<SourceLine*> lines;  // borrowed from the session
  TokenList tokens;                // owned
  Token* tokenCursor = nullptr;    // null: at the end
  std::vector<ParamEntry> params;

 private:
  // The fields both deriving constructors copy: what the card is, its flags
  // and its place.
  void CopyHeader(const Card& source);
};

}  // namespace zav
