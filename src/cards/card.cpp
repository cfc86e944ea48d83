#include "cards/card.h"

#include <utility>
#include <vector>

#include "cards/tokenizer.h"
#include "text/source_line.h"

namespace zav {

namespace {

Token* SkipInsignificant(Token* token) {
  while (token != nullptr && !IsSignificant(token->kind)) token = token->next;
  return token;
}

void WriteText(std::FILE* out, std::string_view text) {
  // fwrite rather than fputs: a NUL read from the file is kept as a byte.
  if (!text.empty()) std::fwrite(text.data(), 1, text.size(), out);
}

}  // namespace

void ConvertLineToComment(SourceLine& line) {
  line.isInlineComment = false;
  if (line.kind == LineKind::Comment) return;
  line.SetCommentedText();
  line.kind = LineKind::Comment;
}

void Card::CopyHeader(const Card& source) {
  origin = source.origin;
  subcircuit = source.subcircuit;
  session = source.session;
  referencedBy = source.referencedBy;

  kind = source.kind;
  valid = source.valid;
  changed = source.changed;
}

Card::Card(Card& source, TakeOver) {
  CopyHeader(source);
  lines = std::move(source.lines);
  source.lines.clear();
  tokens = std::move(source.tokens);
  params = std::move(source.params);
  source.params.clear();
  nameToken = std::exchange(source.nameToken, nullptr);
  source.tokenCursor = nullptr;
  tokenCursor = tokens.front();
}

Card::~Card() = default;

// --- lines ------------------------------------------------------------------

void Card::AddLine(SourceLine* line) { lines.push_back(line); }

void Card::PrependCommentLine(SourceLine* line) {
  ConvertLineToComment(*line);
  lines.insert(lines.begin(), line);
  if (!tokens.empty()) tokens.PushFront(TokenKind::Comment, line->text, line);
}

void Card::AppendCommentLine(SourceLine* line) {
  ConvertLineToComment(*line);
  lines.push_back(line);
  if (!tokens.empty()) tokens.PushBack(TokenKind::Comment, line->text, line);
}

void Card::PrependCommentLines(std::span<SourceLine* const> newLines) {
  if (newLines.empty()) return;
  // Whether the card has tokens is decided once: the first line prepended
  // one by one would add a token only to a card that already had some.
  const bool withTokens = !tokens.empty();
  Token* oldFront = tokens.front();
  for (SourceLine* line : newLines) {
    ConvertLineToComment(*line);
    if (withTokens) tokens.InsertBefore(oldFront, TokenKind::Comment, line->text, line);
  }
  lines.insert(lines.begin(), newLines.begin(), newLines.end());
}

void Card::AppendCommentLines(std::span<SourceLine* const> newLines) {
  if (newLines.empty()) return;
  const bool withTokens = !tokens.empty();
  lines.reserve(lines.size() + newLines.size());
  for (SourceLine* line : newLines) {
    ConvertLineToComment(*line);
    lines.push_back(line);
    if (withTokens) tokens.PushBack(TokenKind::Comment, line->text, line);
  }
}

// --- tokens -----------------------------------------------------------------

void Card::Parse() {
  // Parameter entries, the name token and the cursor point into the token
  // list; they go with it so that none of them is left dangling.
  params.clear();
  nameToken = nullptr;
  tokenCursor = nullptr;
  tokens.Clear();
  // A first, silent scan counts the tokens so that they take one block of
  // exactly the size needed.
  std::size_t count = 0;
  for (const SourceLine* line : lines) count += CountLineTokens(*line);
  tokens.Reserve(count);
  for (SourceLine* line : lines) TokenizeLine(line);
}

void Card::TokenizeLine(SourceLine* line) { AppendLineTokens(*line, tokens); }

Token* Card::FirstToken() {
  tokenCursor = SkipInsignificant(tokens.front());
  return tokenCursor;
}

Token* Card::NextToken() {
  if (tokenCursor == nullptr) return nullptr;
  tokenCursor = SkipInsignificant(tokenCursor->next);
  return tokenCursor;
}

const SourceLine* Card::FirstSignificantLine() const {
  if (const Token* first = SkipInsignificant(tokens.front())) return first->line;
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
  std::size_t size = 0;
  for (const Token* t = tokens.front(); t != nullptr; t = t->next) size += t->text.size();
  std::string result;
  result.reserve(size);
  for (const Token* t = tokens.front(); t != nullptr; t = t->next) result.append(t->text);
  return result;
}

std::string Card::OutputText() const {
  if (changed) return Text();
  std::size_t size = 0;
  for (const SourceLine* line : lines) size += line->text.size();
  std::string result;
  result.reserve(size);
  for (const SourceLine* line : lines) result.append(line->text);
  return result;
}

}  // namespace zav
