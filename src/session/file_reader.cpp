#include <cstdio>
#include <string>
#include <string_view>

#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
#include "platform/file_access.h"
#include "session/import_session.h"
#include "session/line_reader.h"

namespace zav {

namespace {

struct DotPrefix {
  std::string_view prefix;
  LineKind kind;
};

// Searched in order; the empty last row matches any text and gives the
// default for every other dot command.
constexpr DotPrefix kDotPrefixes[] = {
    {".MOD", LineKind::Model},
    {".SU", LineKind::Subckt},
    {".ENDS", LineKind::Ends},
    {"", LineKind::Control},
};

// The first character of `text` that is one of `set`. (string_view's
// find_first_of calls memchr once per character of the text.)
std::size_t FindAnyOf(std::string_view text, std::string_view set) {
  if (set.size() == 1) return text.find(set.front());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (set.find(text[i]) != std::string_view::npos) return i;
  }
  return std::string_view::npos;
}

}  // namespace

void ImportSession::ReadFile() {
  // Binary mode everywhere: the CR LF rule is applied by the reader itself,
  // so that the same bytes give the same lines on every platform, and a 0x1A
  // byte does not end the file early.
  std::FILE* file = OpenRegularFile(path.c_str());
  if (file == nullptr) {
    AddDiagnostic(1, nullptr, {path});
    return;
  }

  LineReader reader(file);
  const std::string_view inlineChars = inlineCommentChars;
  std::string piece;
  piece.reserve(LineReader::kMaxPiece + 1);
  int32_t number = 0;
  while (ReadLine(reader, piece)) {
    ++number;
    const std::string_view text = piece;
    if (ClassifyLine(text) == LineKind::Comment) {
      AddLine(text, number, false);
      continue;
    }
    const std::size_t mark = FindAnyOf(text, inlineChars);
    if (mark == std::string_view::npos) {
      AddLine(text, number, false);
      continue;
    }
    // The blanks before the comment character go with the comment, so the
    // code part ends at its last printing character and the comment part,
    // which keeps the line feed, restores the line when the two are joined.
    std::size_t cut = mark;
    while (cut > 0 && IsAsciiSpace(text[cut - 1])) --cut;
    AddLine(text.substr(0, cut), number, false);
    AddLine(text.substr(cut), number, true);
  }

  if (std::fclose(file) != 0) AddDiagnostic(3, nullptr, {path});
}

bool ImportSession::ReadLine(LineReader& reader, std::string& piece) {
  if (reader.Next(piece)) return true;
  if (reader.failed()) AddDiagnostic(2, nullptr, {path});
  return false;
}

LineKind ImportSession::ClassifyLine(std::string_view text) const {
  std::size_t pos = 0;
  while (pos < text.size() && IsAsciiSpace(text[pos])) ++pos;
  if (pos == text.size()) return LineKind::Comment;
  const char c = text[pos];
  if (lineCommentChars.find(c) != std::string::npos) return LineKind::Comment;
  if (c == '.') {
    const std::string_view rest = text.substr(pos);
    for (const DotPrefix& row : kDotPrefixes) {
      if (StartsWithNoCase(rest, row.prefix)) return row.kind;
    }
  }
  if (IsAsciiAlpha(c)) return LineKind::Element;
  if (c == '+') return LineKind::Continuation;
  return LineKind::Other;
}

void ImportSession::AddLine(std::string_view text, int32_t number, bool isInlineComment) {
  SourceLine& line = lines.emplace_back();
  line.rawText = lineTexts_.Keep(text);
  line.text = line.rawText;
  line.number = number;
  line.kind = ClassifyLine(text);
  line.isInlineComment = isInlineComment;
}

}  // namespace zav
