// Editing a card in place: adding parameters on continuation lines of their
// own and turning runs of tokens into comment lines. The output of an edited
// card is the concatenation of its tokens, so everything not touched here
// keeps its exact characters.

#include <string>

#include "cards/card.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"

namespace zav {
namespace {

bool ContainsLineFeed(std::string_view text) { return text.find('\n') != std::string_view::npos; }

bool EndsWithLineFeed(std::string_view text) { return !text.empty() && text.back() == '\n'; }

}  // namespace

void Card::AddParameter(std::string_view name, std::string_view value, TokenKind valueKind,
                        std::optional<std::string_view> note, bool replace) {
  for (ParamEntry& entry : params) {
    if (entry.name == nullptr || !EqualsNoCase(entry.name->text, name)) continue;
    if (replace && entry.value != nullptr) {
      tokens.SetText(entry.value, value);
      entry.value->kind = valueKind;
    }
    return;
  }
  bool lineFeedFirst = false;
  Token* after = ParameterInsertionPoint(lineFeedFirst);
  if (after != nullptr) InsertParameter(after, lineFeedFirst, name, value, valueKind, note);
}

Token* Card::ParameterInsertionPoint(bool& lineFeedFirst) const {
  lineFeedFirst = false;
  Token* last = tokens.back();
  if (last == nullptr) return nullptr;

  // The new line goes after the statement's last line (and after the inline
  // comment split off that line), but before comment lines that merely follow
  // the statement.
  Token* anchor = last;
  while (anchor->prev != nullptr && anchor->kind == TokenKind::Comment) anchor = anchor->prev;
  if (ContainsLineFeed(anchor->text)) return anchor;
  if (anchor == last) {
    // The end of a file without a final line feed.
    lineFeedFirst = true;
    return anchor;
  }
  // An inline comment on the last line of a file without a final line feed:
  // without a break the new parameter would end up inside the comment.
  lineFeedFirst = !EndsWithLineFeed(anchor->next->text);
  return anchor->next;
}

Token* Card::InsertParameter(Token* after, bool lineFeedFirst, std::string_view name,
                             std::string_view value, TokenKind valueKind,
                             std::optional<std::string_view> note) {
  // Every new token is attributed to the line of the statement's last code
  // token, so that diagnostics about it quote that line.
  Token* anchor = after;
  while (anchor->prev != nullptr && anchor->kind == TokenKind::Comment) anchor = anchor->prev;
  SourceLine* line = anchor->line;

  changed = true;
  Token* at = after;
  if (lineFeedFirst) at = tokens.InsertAfter(at, TokenKind::Newline, "\n", line);
  at = tokens.InsertAfter(at, TokenKind::Continuation, "+ ", line);
  Token* nameToken = at = tokens.InsertAfter(at, TokenKind::Name, name, line);
  at = tokens.InsertAfter(at, TokenKind::Separator, " = ", line);
  Token* valueToken = at = tokens.InsertAfter(at, valueKind, value, line);
  if (note.has_value()) {
    std::string comment = "    ; ";
    comment.append(note->data(), note->size());
    comment.push_back('\n');
    at = tokens.InsertAfter(at, TokenKind::Comment, comment, line);
  } else {
    at = tokens.InsertAfter(at, TokenKind::Newline, "\n", line);
  }
  params.push_back(ParamEntry{nameToken, valueToken, -1});
  return at;
}

void Card::CommentOutTokens(Token* first, Token* last) {
  if (first == nullptr || last == nullptr) return;
  SourceLine* runLine = first->line;
  changed = true;

  // The separator after the run goes with it; so does the line end that
  // follows, in which case nothing of the statement is left after the run.
  Token* end = last->next;
  bool continues = true;
  if (end == nullptr) {
    continues = false;
  } else {
    // A comma between parameters separates them as a blank does.
    if (end->kind == TokenKind::Comma) end = end->next;
    if (end != nullptr && end->kind == TokenKind::Separator) end = end->next;
    if (end == nullptr) {
      continues = false;
    } else if (end->kind == TokenKind::Comment || end->kind == TokenKind::Newline) {
      end = end->next;
      continues = false;
    }
  }

  // The run starts a line of its own: the separator before it becomes that
  // line break, a continuation mark before it goes with it, and anything else
  // cannot be split off and is commented out as well.
  if (Token* before = first->prev; before != nullptr) {
    if (before->kind == TokenKind::Separator || before->kind == TokenKind::Comma) {
      before->text = "\n";
      before->kind = TokenKind::Newline;
    } else if (before->kind == TokenKind::Continuation) {
      first = before;
    } else {
      AddDiagnostic(6, before->line, {before->text});
      first = before;
    }
  }

  std::string buffer = "* ";
  for (Token* token = first; token != end; token = token->next) {
    if (token->kind == TokenKind::Continuation) continue;
    buffer += token->text;
    if (ContainsLineFeed(buffer)) {
      tokens.InsertBefore(first, TokenKind::Comment, buffer, token->line);
      buffer = "* ";
    }
  }
  if (buffer.size() > 2) {
    buffer.push_back('\n');
    tokens.InsertBefore(first, TokenKind::Comment, buffer, runLine);
  }
  if (continues) tokens.InsertBefore(first, TokenKind::Continuation, "+ ", runLine);

  for (Token* token = first; token != end;) token = tokens.Erase(token);
}

void Card::CommentOutBetween(Token* first, Token* last) {
  if (first == nullptr || last == nullptr) return;
  // Walk from the first towards the second: a parameter's name and value are
  // a few tokens apart, so removing many parameters from one long card stays
  // linear. Should the second come first, the run is taken the other way.
  for (Token* token = first; token != nullptr; token = token->next) {
    if (token == last) {
      CommentOutTokens(first, last);
      return;
    }
  }
  for (Token* token = last; token != nullptr; token = token->next) {
    if (token == first) {
      CommentOutTokens(last, first);
      return;
    }
  }
}

}  // namespace zav
