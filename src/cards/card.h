#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "cards/card_kind.h"
#include "cards/imported_model.h"
#include "cards/kept_parameter.h"
#include "cards/line_list.h"
#include "cards/ngspice_expression.h"
#include "cards/param_entry.h"
#include "cards/token.h"
#include "cards/token_list.h"
#include "cards/translation_target.h"

namespace zav {

class CardStore;
class FinishedText;
class JoiningAppender;
struct ImportStatistics;
struct SourceLine;

// Turns a line into a comment line: clears its inline-comment flag and, unless
// it already is a comment line, makes its text "* " followed by the text as
// read and its kind LineKind::Comment. With a store (an import's), the new
// text is kept there, not by the line, and a statement line turned so is
// counted in the store's statistics.
void ConvertLineToComment(SourceLine& line, CardStore* store = nullptr);

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
//
// A card of an import holds its tokens only while it needs them. Its text is
// its lines, and everything the parse reads can be read again from them: so
// once classified, a card releases its tokens (and with them its parameter
// entries and the typed card's records of tokens), keeping only its lines and
// what the later steps look up by name. A step that needs the tokens again
// (the translation, an edit) makes them again (Materialize), with the same
// parse; a card that was edited keeps them until it will not change again,
// and then keeps its edited text instead (Finish). So at any time only the
// cards being worked on hold tokens.
class Card : public ImportedModel {
 public:
  Card() = default;
  // Inline: every typed card of an import is made this way.
  Card(Card& source, TakeOver)
      : kind(source.kind),
        valid(source.valid),
        changed(source.changed),
        store(source.store),
        lines(std::move(source.lines)),
        tokens(std::move(source.tokens)) {
    origin = source.origin;
    subcircuit = source.subcircuit;
    nameToken = std::exchange(source.nameToken, nullptr);
    SetTokenCursor(tokens.front());
  }
  ~Card() override;

  // Cards of an import live in its CardStore: a card made by NewCard with a
  // store is destroyed there, its memory going with the store.
  static void operator delete(Card* card, std::destroying_delete_t);
  // Whether destroying the card would free nothing: it lives in a store and
  // holds neither tokens nor an array of lines of its own. Whatever else a
  // typed card keeps comes from the store as well (a model's list of users,
  // its AKO link, a finished text), so that the import lets such a card go
  // with the store's blocks instead of destroying it. (A typed card given a
  // member that owns heap memory would leak there: the sanitizer build's
  // leak check finds it.)
  bool FreesNothing() const { return inStore_ && !tokens.holds() && !lines.ownsArray(); }

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
  // When ngspice evaluates the card's brace expressions (see
  // RewriteBraceExpressions).
  virtual ExpressionUse BraceExpressionUse() const { return ExpressionUse::Parameter; }
  // For a parameter that a model moves to this card, an element that uses
  // it: the card's name, which the diagnostic about the move quotes, and the
  // move itself (AddParameter with `note`, replacing nothing). The card makes
  // its tokens for both; an element that holds none may write the line into
  // its finished text instead (ElementCard).
  virtual std::string_view NameForMove() {
    Materialize();
    return nameToken != nullptr ? std::string_view(nameToken->text) : std::string_view();
  }
  virtual void AddMovedParameter(std::string_view name, std::string_view value, TokenKind valueKind,
                                 std::string_view note) {
    Materialize();
    AddParameter(name, value, valueKind, note, false);
  }

  // The text to write out: Text() once the card was edited, else the current
  // texts of its lines.
  std::string OutputText() const;
  // The same, appended to `out`.
  void AppendOutputText(std::string& out) const;
  // The same, through an appender that joins texts lying one after the
  // other (the lines as read of cards that follow each other).
  void AppendOutputText(JoiningAppender& out) const;
  // The length of OutputText().
  std::size_t OutputSize() const;

  // --- tokens held on demand --------------------------------------------
  // Whether the card holds its tokens now.
  bool holdsTokens() const { return tokens.holds(); }
  // Makes the tokens again and lets the typed card's parse record them, as
  // at classification; nothing when the card holds them, or has finished.
  // Inline: every step that edits a card asks first, and most cards asked
  // hold their tokens already.
  void Materialize() {
    if (!holdsTokens() && tokens.finished() == nullptr) MakeTokensAgain();
  }
  // Releases the tokens, and with them the parameter entries and the typed
  // card's records of tokens; the name of a model stays readable. Only for a
  // card whose edits its parse makes again (see ModelCard::Link). Inline:
  // classification releases nearly every card's tokens.
  void ReleaseTokens() {
    if (!holdsTokens()) return;
    ForgetTokens();
    tokens.Release();
  }
  // The card will not change again: an edited card keeps its text (in its
  // store) and releases its tokens, unless its store says to keep edited
  // tokens; an unedited one releases them.
  void Finish();

  // --- lines --------------------------------------------------------------
  void AddLine(SourceLine* line);
  void PrependCommentLine(SourceLine* line);
  void AppendCommentLine(SourceLine* line);
  // The same as PrependCommentLine for each line from the last to the first,
  // in one pass.
  void PrependCommentLines(std::span<SourceLine* const> lines);
  void PrependCommentLines(const LineList& lines);
  // The same as AppendCommentLine for each line from the first to the last.
  void AppendCommentLines(std::span<SourceLine* const> lines);
  void AppendCommentLines(const LineList& lines);

  // --- tokens -------------------------------------------------------------
  // `openBraces`: see AppendLineTokens.
  void TokenizeLine(SourceLine* line, int* openBraces = nullptr);
  // Tokenizes every line for classification: only the tokens a parse reads
  // (see AppendLineWords), which is all a card that is not edited needs.
  void ParseWords();
  // Significant tokens (Keyword, Name, Number) through the card's cursor.
  // Inline: every parse steps through its card's tokens with them.
  Token* FirstToken() {
    TokenRecords* recorded = tokens.recorded();
    if (recorded == nullptr) return nullptr;
    recorded->cursor = SkipInsignificant(tokens.front());
    return recorded->cursor;
  }
  Token* NextToken() {
    TokenRecords* recorded = tokens.recorded();
    if (recorded == nullptr || recorded->cursor == nullptr) return nullptr;
    recorded->cursor = SkipInsignificant(recorded->cursor->next);
    return recorded->cursor;
  }
  // The cursor (kept with the tokens): the token last returned, or none at
  // the end.
  Token* tokenCursor() const {
    const TokenRecords* recorded = tokens.recorded();
    return recorded != nullptr ? recorded->cursor : nullptr;
  }
  void SetTokenCursor(Token* token) {
    if (TokenRecords* recorded = tokens.recorded()) recorded->cursor = token;
  }
  // The line of the first significant token, else the card's first line, else
  // none: where a diagnostic about the card as a whole points. Leaves the
  // token cursor alone.
  const SourceLine* FirstSignificantLine() const;

  // For ngspice: writes every brace expression of the card in ngspice's
  // spelling (see RewriteForNgspice), with info 42 for each one rewritten and
  // warning 43 for a function ngspice lacks. Makes the card's tokens only when
  // a line of it holds a brace.
  void RewriteBraceExpressions();

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
  // parameter of those names: a line for each parameter, in order, all with
  // the same note. InsertParameters returns the last token it inserted.
  Token* ParameterInsertionPoint(bool& lineFeedFirst) const;
  Token* InsertParameters(Token* after, bool lineFeedFirst, std::span<const KeptParameter> parameters,
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

 private:
  // Made by NewCard in a store: destroyed there.
  bool inStore_ = false;

 public:
  // The import's store the card and its tokens come from; none for a card
  // made on its own.
  CardStore* store = nullptr;
  // The simulator the card is translated for (the host's without a store).
  // Inline (below): every parse of a card asks.
  TranslationTarget target() const;
  LineList lines;                  // borrowed from the session
  TokenList tokens;                // owned
  // The card's parameter entries, kept with its tokens.
  ParamList params() { return ParamList(tokens); }
  const ParamList params() const { return ParamList(const_cast<TokenList&>(tokens)); }

 protected:
  // Lets the typed card's parse record the tokens made by Materialize.
  virtual void RecordTokens() {}
  // Called before the tokens go: the typed card lets go of its pointers to
  // them. Models and definitions keep their name readable (KeepName).
  virtual void ForgetTokens() { nameToken = nullptr; }
  // Materialize, for a card that holds no tokens and has not finished.
  void MakeTokensAgain();
  // Tokenizes the words of every line (see ParseWords), silently, for a card
  // that made its tokens before: the typed card's parse then records them.
  // The name kept while the tokens were away is reused when they go again.
  void MakeWords();
  // A copy of `token` outside the token list, in `kept` (made when none),
  // for a card that lets its tokens go.
  Token* KeepToken(const Token* token, Token*& kept);
  // The name token kept outside the tokens, while they are held.
  Token*& keptName() { return tokens.HoldRecorded().keptName; }

 private:
  template <typename T, typename... Args>
  friend std::unique_ptr<T> NewCard(CardStore* store, Args&&... args);

  template <typename Lines>
  void PrependComments(const Lines& lines);
  template <typename Lines>
  void AppendComments(const Lines& lines);
  // Puts the texts of comment lines that joined a finished card before or
  // after its finished text.
  template <typename Lines>
  void JoinFinishedText(const Lines& lines, bool before);

  static Token* SkipInsignificant(Token* token) {
    while (token != nullptr && !IsSignificant(token->kind)) token = token->next;
    return token;
  }

};

// Makes a card in `store` (none: on the heap). The card is destroyed by
// deleting it either way.
template <typename T, typename... Args>
std::unique_ptr<T> NewCard(CardStore* store, Args&&... args);

}  // namespace zav

#include "cards/card_store.h"

namespace zav {

template <typename T, typename... Args>
std::unique_ptr<T> NewCard(CardStore* store, Args&&... args) {
  if (store == nullptr) return std::make_unique<T>(std::forward<Args>(args)...);
  T* card = new (store->Allocate(sizeof(T), alignof(T))) T(std::forward<Args>(args)...);
  card->inStore_ = true;
  return std::unique_ptr<T>(card);
}

inline TranslationTarget Card::target() const { return store != nullptr ? store->target : TranslationTarget::Host; }

}  // namespace zav
