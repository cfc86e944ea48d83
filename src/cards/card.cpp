#include "cards/card.h"

#include <cstring>
#include <utility>
#include <vector>

#include "cards/card_store.h"
#include "cards/finished_text.h"
#include "cards/tokenizer.h"
#include "diagnostics/diagnostic_sink.h"
#include "platform/ascii.h"
#include "text/joining_appender.h"
#include "text/source_line.h"

namespace zav {

namespace {

void WriteText(std::FILE* out, std::string_view text) {
  // fwrite rather than fputs: a NUL read from the file is kept as a byte.
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), out);
}

// The first blank-free character of a line as read is a letter or a dot: the
// line held a statement (not a continuation or a stray line).
bool HoldsStatement(std::string_view raw) {
  for (char c : raw) {
    if (c == ' ' || c == '\t') continue;
    return c == '.' || IsAsciiAlpha(c);
  }
  return false;
}

// Files nothing: the tokens a card makes again are the ones it made before,
// and their diagnostics were filed then.
class SilentSink final : public DiagnosticSink {
 public:
  void File(const Diagnostic&) override {}
  bool WantsTexts() const override { return false; }
};

}  // namespace

void ConvertLineToComment(SourceLine& line, CardStore* store) {
  line.isInlineComment = false;
  if (line.kind == LineKind::Comment) return;
  line.kind = LineKind::Comment;
  if (store == nullptr) {
    line.SetCommentedText();
    return;
  }
  const std::string_view raw = line.rawText;
  if (HoldsStatement(raw)) ++store->statistics().cardsTurnedIntoComments;
  // The old text stays where it is: tokens of a card being dropped may still
  // view it.
  char* text = static_cast<char*>(store->Allocate(raw.size() + 2, 1));
  text[0] = '*';
  text[1] = ' ';
  std::memcpy(text + 2, raw.data(), raw.size());
  line.SetKeptText(std::string_view(text, raw.size() + 2));
}

void Card::operator delete(Card* card, std::destroying_delete_t) {
  const bool inStore = card->inStore_;
  card->~Card();
  if (!inStore) ::operator delete(card);
}

Card::~Card() = default;

// --- tokens held on demand ---------------------------------------------------

void Card::MakeTokensAgain() {
  // The name kept while the tokens were away is reused when they go again.
  Token* name = nameToken;
  SilentSink silent;
  ScopedDiagnosticSink scope(silent);
  Card::Parse();
  keptName() = name;
  RecordTokens();
}

void Card::MakeWords() {
  Token* name = nameToken;
  SilentSink silent;
  ScopedDiagnosticSink scope(silent);
  ParseWords();
  keptName() = name;
}

Token* Card::KeepToken(const Token* token, Token*& kept) {
  if (token == nullptr) return nullptr;
  if (kept == nullptr) {
    kept = store != nullptr ? store->NewLooseToken() : nullptr;
    if (kept == nullptr) return nullptr;
  }
  if (kept->text.data() != token->text.data() || kept->text.size() != token->text.size()) {
    // A text that views its line lives as long as the line; any other (a
    // type the translation renamed) is copied into the store.
    const std::string_view lineText = token->line != nullptr ? token->line->text.view() : std::string_view();
    const bool viewsLine = !lineText.empty() && token->text.data() >= lineText.data() &&
                           token->text.data() + token->text.size() <= lineText.data() + lineText.size();
    kept->text = viewsLine ? token->text : store->KeepText(token->text);
  }
  kept->kind = token->kind;
  kept->line = token->line;
  kept->prev = nullptr;
  kept->next = nullptr;
  return kept;
}

void Card::Finish() {
  // An edited card that let its tokens go makes its edits again first (most
  // hold them here: no call for them).
  if (changed && !holdsTokens() && tokens.finished() == nullptr) Materialize();
  if (!holdsTokens() || store == nullptr) return;
  if (!changed) {
    ReleaseTokens();
    return;
  }
  if (store->keepEditedTokens) return;
  const FinishedText* finished = FinishedText::Make(*store, tokens);
  ForgetTokens();
  tokens.SetFinished(finished);
}

// --- lines ------------------------------------------------------------------

void Card::AddLine(SourceLine* line) { lines.push_back(line); }

void Card::PrependCommentLine(SourceLine* line) { PrependCommentLines(std::span<SourceLine* const>(&line, 1)); }

void Card::AppendCommentLine(SourceLine* line) { AppendCommentLines(std::span<SourceLine* const>(&line, 1)); }

template <typename Lines>
void Card::PrependComments(const Lines& newLines) {
  if (newLines.empty()) return;
  // Whether the card has tokens is decided once: the first line prepended
  // one by one would add a token only to a card that already had some.
  const bool withTokens = !tokens.empty();
  Token* oldFront = tokens.front();
  for (SourceLine* line : newLines) {
    ConvertLineToComment(*line, store);
    if (withTokens) tokens.InsertBefore(oldFront, TokenKind::Comment, line->text, line);
  }
  lines.Prepend(newLines);
  if (tokens.finished() != nullptr) JoinFinishedText(newLines, true);
}

template <typename Lines>
void Card::AppendComments(const Lines& newLines) {
  if (newLines.empty()) return;
  const bool withTokens = !tokens.empty();
  for (SourceLine* line : newLines) {
    ConvertLineToComment(*line, store);
    if (withTokens) tokens.PushBack(TokenKind::Comment, line->text, line);
  }
  lines.Append(newLines);
  if (tokens.finished() != nullptr) JoinFinishedText(newLines, false);
}

template <typename Lines>
void Card::JoinFinishedText(const Lines& newLines, bool before) {
  // A card translated while it was classified is finished before the merges
  // of later steps give it comment lines: they join its text as they are.
  std::vector<std::string_view> texts;
  texts.reserve(newLines.size());
  for (const SourceLine* line : newLines) texts.push_back(line->text);
  const std::span<const std::string_view> none;
  const FinishedText& text = *tokens.finished();
  tokens.SetFinished(before ? FinishedText::WithLines(*store, texts, text, none)
                            : FinishedText::WithLines(*store, none, text, texts));
}

void Card::PrependCommentLines(std::span<SourceLine* const> newLines) { PrependComments(newLines); }
void Card::PrependCommentLines(const LineList& newLines) { PrependComments(newLines); }
void Card::AppendCommentLines(std::span<SourceLine* const> newLines) { AppendComments(newLines); }
void Card::AppendCommentLines(const LineList& newLines) { AppendComments(newLines); }

// --- tokens -----------------------------------------------------------------

void Card::Parse() {
  // Parameter entries, the name token and the cursor point into the token
  // list; they go with it so that none of them is left dangling.
  nameToken = nullptr;
  tokens.Reset(store != nullptr ? &store->tokenPool() : nullptr);
  int openBraces = 0;
  int* braces = target() == TranslationTarget::Ngspice ? &openBraces : nullptr;
  AppendCardTokens(lines, tokens, braces);
}

void Card::TokenizeLine(SourceLine* line, int* openBraces) { AppendLineTokens(*line, tokens, openBraces); }

void Card::ParseWords() {
  nameToken = nullptr;
  tokens.Reset(store != nullptr ? &store->tokenPool() : nullptr);
  int openBraces = 0;
  int* braces = target() == TranslationTarget::Ngspice ? &openBraces : nullptr;
  AppendCardWords(lines, tokens, braces);
}

const SourceLine* Card::FirstSignificantLine() const {
  if (holdsTokens()) {
    if (const Token* first = SkipInsignificant(tokens.front())) return first->line;
  } else {
    // Without tokens: the statement line, the first that is no comment line
    // (a card that parsed has its first significant token there).
    for (const SourceLine* line : lines) {
      if (line->kind != LineKind::Comment) return line;
    }
  }
  return lines.empty() ? nullptr : lines.front();
}

// --- text -------------------------------------------------------------------

void Card::Print(std::FILE* out) const {
  for (const SourceLine* line : lines) {
    if (!line->isInlineComment) {
      std::fprintf(out, "\nLine %3d(%d): ", static_cast<int>(line->number), static_cast<int>(line->kind));
    }
    WriteText(out, line->text);
  }
  std::fputs("\n", out);
}

std::string Card::Text() const {
  if (const FinishedText* finished = tokens.finished()) {
    std::string result;
    result.reserve(finished->size());
    finished->AppendTo(result);
    return result;
  }
  std::size_t size = 0;
  for (const Token* t = tokens.front(); t != nullptr; t = t->next) size += t->text.size();
  std::string result;
  result.reserve(size);
  for (const Token* t = tokens.front(); t != nullptr; t = t->next) result.append(t->text);
  return result;
}

std::size_t Card::OutputSize() const {
  std::size_t size = 0;
  if (const FinishedText* finished = tokens.finished()) return finished->size();
  if (changed) {
    for (const Token* t = tokens.front(); t != nullptr; t = t->next) size += t->text.size();
    return size;
  }
  for (const SourceLine* line : lines) size += line->text.size();
  return size;
}

void Card::AppendOutputText(std::string& out) const {
  JoiningAppender appender(out);
  AppendOutputText(appender);
}

void Card::AppendOutputText(JoiningAppender& out) const {
  if (const FinishedText* finished = tokens.finished()) {
    finished->AppendTo(out);
  } else if (changed) {
    for (const Token* t = tokens.front(); t != nullptr; t = t->next) out.Append(t->text);
  } else {
    // Lines as read lie one after the other in the file's buffer (an inline
    // comment right after its code): the appender joins them.
    for (const SourceLine* line : lines) out.Append(line->text);
  }
}

std::string Card::OutputText() const {
  if (changed) return Text();
  std::string result;
  result.reserve(OutputSize());
  AppendOutputText(result);
  return result;
}

}  // namespace zav
