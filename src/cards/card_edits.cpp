// Card members, the text writer: editing a card in place, adding parameters
// on continuation lines of their own and turning runs of tokens into comment
// lines. The output of an edited card is the concatenation of its tokens, so
// everything not touched here keeps its exact characters.

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "cards/card.h"
#include "cards/line_feed.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"

namespace zav {
namespace {

bool EndsWithLineFeed(std::string_view text) { return !text.empty() && text.back() == '\n'; }

// Whether a token holds a line feed. A token's text holds one only as its
// last character: the tokens of a line are cut from a text that ends at its
// line feed, and every text an edit writes (an added line, a comment line, a
// mark) ends a line there or holds none. So a look at the last character
// tells what a search of the text would.
bool EndsLine(const Token& token) { return EndsWithLineFeed(token.text); }

// Whether a token can stand after a continuation mark: anything but a comment,
// a line end, a separator or another mark.
bool StartsCode(TokenKind kind) {
  return kind != TokenKind::Comment && kind != TokenKind::Newline && kind != TokenKind::Separator &&
         kind != TokenKind::Continuation;
}

}  // namespace

void Card::AddParameter(std::string_view name, std::string_view value, TokenKind valueKind,
                        std::optional<std::string_view> note, bool replace) {
  for (ParamEntry& entry : params()) {
    if (entry.name == nullptr || !EqualsNoCase(entry.name->text, name)) continue;
    if (replace && entry.value != nullptr) {
      tokens.SetText(entry.value, value);
      entry.value->kind = valueKind;
    }
    return;
  }
  bool lineFeedFirst = false;
  Token* after = ParameterInsertionPoint(lineFeedFirst);
  const KeptParameter parameter = KeptParameter::Of(name, value, valueKind);
  if (after != nullptr) InsertParameters(after, lineFeedFirst, std::span<const KeptParameter>(&parameter, 1), note);
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
  if (EndsLine(*anchor)) return anchor;
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

Token* Card::InsertParameters(Token* after, bool lineFeedFirst, std::span<const KeptParameter> parameters,
                              std::optional<std::string_view> note) {
  if (parameters.empty()) return after;
  // Every new token is attributed to the line of the statement's last code
  // token, so that diagnostics about it quote that line.
  Token* anchor = after;
  while (anchor->prev != nullptr && anchor->kind == TokenKind::Comment) anchor = anchor->prev;
  SourceLine* line = anchor->line;

  changed = true;
  // The lines' text is written once, in one piece the list keeps, and their
  // tokens are cut from it: they follow each other in memory, so the
  // card's finished text takes the lines as one piece (see FinishedText).
  // Every line ends alike: the first line's end is copied for the others.
  constexpr std::string_view kMark = "+ ";
  constexpr std::string_view kEquals = " = ";
  constexpr std::string_view kNoteStart = "    ; ";
  const std::size_t endSize = (note.has_value() ? kNoteStart.size() + note->size() : 0) + 1;
  std::size_t size = lineFeedFirst ? 1 : 0;
  for (const KeptParameter& parameter : parameters) {
    size += kMark.size() + parameter.nameSize + kEquals.size() + parameter.valueSize + endSize;
  }
  // Five tokens a line, and a line feed first.
  TokenList::KeptInserter inserter(tokens, after, 5 * parameters.size() + 1);
  std::vector<ParamEntry>& entries = inserter.recorded().params;
  if (entries.capacity() - entries.size() < parameters.size()) {
    // Grown as push_back grows it: a card given one parameter at a time
    // (an element, by each model it uses) is not copied once per line.
    entries.reserve(std::max(entries.size() + parameters.size(), 2 * entries.capacity()));
  }
  char* out = inserter.KeepRoom(size);
  if (lineFeedFirst) {
    *out = '\n';
    inserter.Add(TokenKind::Newline, std::string_view(out++, 1), line);
  }
  const TokenKind endKind = note.has_value() ? TokenKind::Comment : TokenKind::Newline;
  // Where each line's parts start is known from the sizes alone: a line is
  // laid out first and its tokens cut from it after, which keeps the loop
  // free of a writer's running state. `writeEnd` writes the line's end.
  const auto addLine = [&](const KeptParameter& parameter, auto writeEnd) __attribute__((always_inline)) {
    char* const mark = out;
    char* const name = mark + kMark.size();
    char* const equals = name + parameter.nameSize;
    char* const value = equals + kEquals.size();
    char* const lineEnd = value + parameter.valueSize;
    TextArena::CopyChars(mark, kMark.data(), kMark.size());
    TextArena::CopyChars(name, parameter.name, parameter.nameSize);
    TextArena::CopyChars(equals, kEquals.data(), kEquals.size());
    TextArena::CopyChars(value, parameter.value, parameter.valueSize);
    writeEnd(lineEnd);
    out = lineEnd + endSize;
    inserter.Add(TokenKind::Continuation, std::string_view(mark, kMark.size()), line);
    Token* nameToken = inserter.Add(TokenKind::Name, std::string_view(name, parameter.nameSize), line);
    inserter.Add(TokenKind::Separator, std::string_view(equals, kEquals.size()), line);
    Token* valueToken = inserter.Add(parameter.Kind(), std::string_view(value, parameter.valueSize), line);
    inserter.Add(endKind, std::string_view(lineEnd, endSize), line);
    entries.push_back(ParamEntry{nameToken, valueToken, -1});
  };
  const char* end = nullptr;
  addLine(parameters.front(), [&](char* at) {
    end = at;
    if (note.has_value()) {
      TextArena::CopyChars(at, kNoteStart.data(), kNoteStart.size());
      TextArena::CopyChars(at + kNoteStart.size(), note->data(), note->size());
      at += kNoteStart.size() + note->size();
    }
    *at = '\n';
  });
  // Every other line's end is a copy of the first's, of the same size
  // throughout: a loop for each class of sizes the copy tells apart.
  const auto addOthers = [&](std::size_t least, std::size_t most) __attribute__((always_inline)) {
    for (const KeptParameter& parameter : parameters.subspan(1)) {
      addLine(parameter, [&](char* at) {
        if (endSize < least || endSize > most) __builtin_unreachable();
        TextArena::CopyChars(at, end, endSize);
      });
    }
  };
  if (endSize == 1) {
    addOthers(1, 1);
  } else if (endSize <= 32) {
    addOthers(2, 32);
  } else if (endSize <= 64) {
    addOthers(33, 64);
  } else {
    addOthers(65, SIZE_MAX);
  }
  return inserter.last();
}

void Card::CommentOutTokens(Token* first, Token* last) {
  if (first == nullptr || last == nullptr) return;
  SourceLine* runLine = first->line;
  changed = true;

  // The separator after the run goes with it; so does the end of its line
  // (an inline comment or a line feed) unless that separator held the line
  // feed already: what comes after it is another line, comment lines that
  // follow the statement included, and stays as it is.
  Token* end = last->next;
  // A comma between parameters separates them as a blank does.
  if (end != nullptr && end->kind == TokenKind::Comma) end = end->next;
  if (end != nullptr && end->kind == TokenKind::Separator) end = end->next;
  if (end != nullptr && (end->kind == TokenKind::Comment || end->kind == TokenKind::Newline) &&
      !EndsLine(*end->prev)) {
    end = end->next;
  }
  // A simulator reads a "*" only at the start of a line as a comment, and a
  // "+" only as the start of code: a mark in front of a comment hands the
  // host what the comment was to hide. So the statement goes on behind a
  // mark of its own only when code follows on the run's line.
  const bool continues = end != nullptr && StartsCode(end->kind) && !EndsLine(*end->prev);

  // The run starts a line of its own. A separator (or a comma between
  // parameters) between code and the run becomes that line break. Where
  // nothing but a continuation mark stands before the run on its line, no
  // break is needed: the mark and the separator go, so that no line holds a
  // mark alone. Any other token cannot be split off and is commented out as
  // well.
  Token* lineBreak = nullptr;
  for (Token* before = first->prev; before != nullptr && !EndsLine(*before);
       before = first->prev) {
    if (before->kind == TokenKind::Separator || before->kind == TokenKind::Comma) {
      const Token* prior = before->prev;
      if (prior != nullptr && prior->kind != TokenKind::Continuation && !EndsLine(*prior)) {
        lineBreak = before;
        break;
      }
      tokens.Erase(before);
    } else if (before->kind == TokenKind::Continuation) {
      first = before;
    } else {
      AddDiagnostic(MessageCode::UnexpectedToken, before->line, {before->text});
      first = before;
    }
  }

  // The line break, the comment lines (each "* " and the run's texts up to
  // a line feed, the last given one) and the mark are written into one
  // piece the list keeps, as an inserted parameter is (see
  // InsertParameters): their tokens follow each other in memory, so that the
  // card's finished text takes them as one run. A line starts with the
  // first character it holds. The piece is room enough for a line of each
  // token, which spares looking for line feeds twice; what is left over
  // goes with the list's texts.
  constexpr std::string_view kCommentStart = "* ";
  constexpr std::string_view kMark = "+ ";
  std::size_t size = 2 + kMark.size();
  // Whether the texts the comment lines take (not the marks, which go)
  // follow each other in memory, as a parameter's tokens on the line they
  // were read from do, or on one the card's edits wrote: then the comment
  // lines are that text as it stands, looked at whole, not a token at a time.
  const char* runText = nullptr;
  const char* runTextEnd = nullptr;
  bool oneText = true;
  const Token* lastWithText = nullptr;
  // The run's last token and its length, for its removal at the end.
  Token* runLast = first;
  std::size_t runLength = 0;
  for (Token* token = first; token != end; token = token->next) {
    runLast = token;
    ++runLength;
    size += kCommentStart.size() + token->text.size();
    if (token->kind == TokenKind::Continuation || token->text.empty()) continue;
    if (lastWithText == nullptr) runText = runTextEnd = token->text.data();
    oneText = oneText && token->text.data() == runTextEnd;
    runTextEnd += token->text.size();
    lastWithText = token;
  }

  char* out = tokens.KeepRoomWhileHeld(size);
  const auto write = [&out](std::string_view part) {
    TextArena::CopyChars(out, part.data(), part.size());
    out += part.size();
  };
  if (lineBreak != nullptr) {
    write("\n");
    lineBreak->text = std::string_view(out - 1, 1);
    lineBreak->kind = TokenKind::Newline;
  }
  // The new tokens are new nodes after the run, which then goes whole. The
  // run's nodes are not written over: a parameter's record may still point
  // at one of them (a value that a translation writes after its name or
  // another part of the statement was commented out), and what it writes
  // there must not land in a comment line.
  const auto put = [&](TokenKind kind, std::string_view text, SourceLine* line) {
    tokens.InsertKeptBefore(end, kind, text, line);
  };
  const char* lineStart = out;
  const std::string_view whole(runText, static_cast<std::size_t>(oneText ? runTextEnd - runText : 0));
  if (oneText && lastWithText != nullptr && !ContainsLineFeed(whole.substr(0, whole.size() - 1))) {
    // One line, ended by the run's last character or (below) by a line feed
    // of its own.
    write(kCommentStart);
    write(whole);
    if (whole.back() == '\n') {
      put(TokenKind::Comment, std::string_view(lineStart, static_cast<std::size_t>(out - lineStart)), lastWithText->line);
      lineStart = out;
    }
  } else {
    // The lines go in after the run as they are made: the walk counts the
    // run's tokens rather than looking for its end.
    const Token* token = first;
    for (std::size_t i = 0; i < runLength; ++i, token = token->next) {
      if (token->kind == TokenKind::Continuation || token->text.empty()) continue;
      if (out == lineStart) write(kCommentStart);
      write(token->text);
      if (EndsLine(*token)) {
        put(TokenKind::Comment, std::string_view(lineStart, static_cast<std::size_t>(out - lineStart)), token->line);
        lineStart = out;
      }
    }
  }
  if (out != lineStart) {
    write("\n");
    put(TokenKind::Comment, std::string_view(lineStart, static_cast<std::size_t>(out - lineStart)), runLine);
  }
  if (continues) {
    write(kMark);
    put(TokenKind::Continuation, std::string_view(out - kMark.size(), kMark.size()), runLine);
  }

  tokens.EraseRun(first, runLast, runLength);
}

void Card::CommentOutBetween(Token* first, Token* last) {
  if (first == nullptr || last == nullptr) return;
  // A parameter's value most often follows its name after an "=": a look
  // at the next two tokens finds it without the walk below.
  if (Token* const next = first->next; next == last || (next != nullptr && next->next == last)) {
    CommentOutTokens(first, last);
    return;
  }
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
