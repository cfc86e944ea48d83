// ImportSession members: reading the file into numbered, classified lines.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>
#include <string_view>

#include "cards/dialect_keywords.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
#include "platform/ascii_words.h"
#include "platform/byte_search.h"
#include "platform/file_access.h"
#include "session/encrypted_block.h"
#include "session/import_session.h"
#include "session/line_reader.h"

namespace zav {

namespace {

struct DotPrefix {
  std::string_view prefix;
  LineKind kind;
};

// A line that starts with a dot and none of these is a control line. Each
// prefix is a dot and two to seven letters; no two start alike, so their
// order does not matter.
constexpr DotPrefix kDotPrefixes[] = {
    {kModelKeywordPrefix, LineKind::Model},
    {kSubcktKeywordPrefix, LineKind::Subckt},
    {kEndsKeywordPrefix, LineKind::Ends},
};
static_assert([] {
  for (const DotPrefix& row : kDotPrefixes) {
    if (row.prefix.size() < 3 || row.prefix.size() > 8 || row.prefix.front() != '.') return false;
  }
  return true;
}());

// The first character of `text` that is one of `set`. (string_view's
// find_first_of calls memchr once per character of the text.)
std::size_t FindAnyOf(std::string_view text, std::string_view set) {
  if (set.size() == 1) {
    const char* at = FindByte(text.data(), text.data() + text.size(), set.front());
    return at == text.data() + text.size() ? std::string_view::npos : static_cast<std::size_t>(at - text.data());
  }
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (set.find(text[i]) != std::string_view::npos) return i;
  }
  return std::string_view::npos;
}

// What a line is, by its first non-blank character (see LineKind): a table
// of what each byte makes a line that starts with it, so that the reading
// loop spends a look-up on a line, not a series of tests.
class LineClassifier {
 public:
  explicit LineClassifier(const std::array<bool, 256>& lineCommentChar) {
    for (std::size_t i = 0; i < byFirst_.size(); ++i) {
      const char c = static_cast<char>(i);
      // In the order the tests are made: a blank is passed over, a
      // line-comment character wins over a dot.
      byFirst_[i] = IsAsciiSpace(c)         ? kBlank
                    : lineCommentChar[i]    ? static_cast<std::uint8_t>(LineKind::Comment)
                    : c == '.'              ? kDot
                    : IsAsciiAlpha(c)       ? static_cast<std::uint8_t>(LineKind::Element)
                    : c == '+'              ? static_cast<std::uint8_t>(LineKind::Continuation)
                                            : static_cast<std::uint8_t>(LineKind::Other);
    }
    for (std::size_t i = 0; i < dotRows_.size(); ++i) {
      const std::string_view prefix = kDotPrefixes[i].prefix;
      char bytes[8] = {};
      char mask[8] = {};
      prefix.copy(bytes, sizeof bytes);
      std::memset(mask, 0xFF, prefix.size());
      dotRows_[i] = {ascii_words::Load64(bytes), ascii_words::Load64(mask), kDotPrefixes[i].kind};
    }
  }

  // Inline: it runs once a line of the file, and nearly every line starts
  // with its first non-blank character.
  LineKind operator()(std::string_view text) const {
    if (!text.empty()) {
      const std::uint8_t kind = byFirst_[static_cast<unsigned char>(text.front())];
      if (kind < kBlank) return static_cast<LineKind>(kind);
      if (kind == kDot) return OfDotLine(text);
    }
    for (std::size_t pos = 0; pos < text.size(); ++pos) {
      const std::uint8_t kind = byFirst_[static_cast<unsigned char>(text[pos])];
      if (kind == kBlank) continue;
      return kind == kDot ? OfDotLine(text.substr(pos)) : static_cast<LineKind>(kind);
    }
    // Only blanks (or nothing): a blank line is a comment line.
    return LineKind::Comment;
  }

 private:
  static constexpr std::uint8_t kBlank = 0xFE;
  static constexpr std::uint8_t kDot = 0xFF;

  // A prefix as one word, its letters upper case, and the mask of its bytes.
  struct DotRow {
    std::uint64_t word;
    std::uint64_t mask;
    LineKind kind;
  };

  // The kind of a line from its dot on: its first eight bytes, upper case,
  // against each prefix at once.
  LineKind OfDotLine(std::string_view rest) const {
    std::uint64_t word;
    if (rest.size() >= sizeof word) {
      word = ascii_words::Load64(rest.data());
    } else {
      char bytes[sizeof word] = {};
      rest.copy(bytes, sizeof bytes);
      word = ascii_words::Load64(bytes);
    }
    word = ascii_words::UpperCaseWord(word);
    for (const DotRow& row : dotRows_) {
      if ((word & row.mask) == row.word) return row.kind;
    }
    return LineKind::Control;
  }

  std::array<std::uint8_t, 256> byFirst_;
  std::array<DotRow, std::size(kDotPrefixes)> dotRows_;
};

}  // namespace

void ImportSession::ReadFile(bool groupCards) {
  // Binary mode everywhere: the CR LF rule and the end-of-file mark are
  // applied by the reader itself, so that the same bytes give the same lines
  // on every platform.
  std::FILE* file = OpenRegularFile(path_.c_str());
  if (file == nullptr) {
    AddDiagnostic(MessageCode::CantOpenFile, nullptr, {path_});
    return;
  }

  LineReader reader(file);
  const LineClassifier classify(lineCommentChar_);
  const std::string_view inlineChars = inlineCommentChars_;
  // A single inline-comment character (every style has at most one) is
  // tracked by the reader, which saves most lines a scan for it; without
  // one, the reader reports none.
  const bool watched = inlineChars.size() <= 1;
  if (inlineChars.size() == 1) reader.WatchFor(inlineChars.front());
  // Room for every piece and a quarter of them split at an inline comment;
  // more is rare, and the vector grows for it. A card starts on a piece of
  // its own: the runs never outgrow the pieces.
  const std::size_t pieces = reader.PiecesAtMost();
  lines_.reserve(pieces + pieces / 4);
  CardRuns runs;
  if (groupCards) runs.reserve(pieces);
  // A line is grouped as soon as it is read, its stray line reported after
  // its other diagnostics; but text after an end-of-file mark is reported
  // against the last line once every line is read, before a stray last line
  // would be: then the lines are grouped after reading.
  const bool groupWhileReading = groupCards && !(reader.stoppedAtMark() && reader.textAfterMark());
  const bool sawNul = reader.sawNul();
  // Whether a line with no inline comment, outside an encrypted block and
  // not of the kind that may open one, is simply added and grouped: nearly
  // every line of nearly every file.
  const bool usualLines = watched && !sawNul && groupWhileReading;
  std::string_view text;
  std::size_t mark = std::string_view::npos;
  int32_t number = 0;
  bool inEncryptedBlock = false;
  // A usual line: added and grouped as the reader offers it.
  auto takeUsual = [&](std::string_view piece) {
    const LineKind kind = classify(piece);
    if (kind == LineKind::Other) return false;  // it may open an encrypted block
    const std::size_t record = lines_.size();
    AddLine(piece, ++number, false, kind);
    if (runs.Group(kind, false, record)) KeepStrayLine(lines_[record]);
    return true;
  };
  while (usualLines && !inEncryptedBlock ? reader.NextRefused(takeUsual, text, mark) : reader.Next(text, mark)) {
    ++number;
    const std::size_t firstRecord = lines_.size();
    const LineKind kind = classify(text);
    // Whether the line's records are grouped here: a stray line is reported
    // after the line's other diagnostics.
    bool grouped = false;
    bool stray = false;
    if (inEncryptedBlock || (kind == LineKind::Other && StartsEncryptedBlock(text))) {
      // The block's lines are comment lines to everything after the reader:
      // they stay in the card or definition they stand in, byte for byte.
      AddLine(text, number, false, LineKind::Comment);
      grouped = true;  // a whole comment line changes no run
      if (!inEncryptedBlock) {
        inEncryptedBlock = true;
        AddDiagnostic(MessageCode::EncryptedBlock, &lines_.back());
      } else if (EndsEncryptedBlock(text)) {
        inEncryptedBlock = false;
      }
    } else {
      if (kind != LineKind::Comment && !watched) mark = FindAnyOf(text, inlineChars);
      if (kind == LineKind::Comment || mark == std::string_view::npos) {
        AddLine(text, number, false, kind);
        grouped = true;
        stray = groupWhileReading && runs.Group(kind, false, firstRecord);
      } else {
        // The blanks before the comment character go with the comment, so
        // the code part ends at its last printing character and the comment
        // part, which keeps the line feed, restores the line when the two
        // are joined.
        std::size_t cut = mark;
        while (cut > 0 && IsAsciiSpace(text[cut - 1])) --cut;
        AddLine(text.substr(0, cut), number, false, classify(text.substr(0, cut)));
        AddLine(text.substr(cut), number, true, classify(text.substr(cut)));
      }
    }
    if (sawNul && reader.pieceHeldFirstNul()) AddDiagnostic(MessageCode::NulBytesReplaced, &lines_[firstRecord]);
    if (!groupWhileReading) continue;
    if (grouped) {
      if (stray) KeepStrayLine(lines_[firstRecord]);
      continue;
    }
    for (std::size_t at = firstRecord; at < lines_.size(); ++at) {
      if (runs.Group(lines_[at].kind, lines_[at].isInlineComment, at)) KeepStrayLine(lines_[at]);
    }
  }
  if (reader.failed()) AddDiagnostic(MessageCode::CantReadFile, nullptr, {path_});
  text_ = reader.TakeText();
  store_->SetLastingText(text_.data(), text_.size());

  if (reader.stoppedAtMark() && reader.textAfterMark()) {
    // Filed against the last line read, which holds the text before the
    // mark (its code part, when an inline comment was split off it).
    const SourceLine* last = nullptr;
    if (!lines_.empty()) {
      std::size_t at = lines_.size() - 1;
      if (at > 0 && lines_[at - 1].number == lines_[at].number) --at;
      last = &lines_[at];
    }
    AddDiagnostic(MessageCode::BytesAfterEndOfFileMark, last, {std::to_string(reader.bytesAfterMark())});
  }
  if (groupCards) {
    if (!groupWhileReading) {
      for (std::size_t at = 0; at < lines_.size(); ++at) {
        if (runs.Group(lines_[at].kind, lines_[at].isInlineComment, at)) KeepStrayLine(lines_[at]);
      }
    }
    runs.Finish(lines_.size());
    runs_ = std::move(runs);
  }
  if (std::fclose(file) != 0) AddDiagnostic(MessageCode::CantCloseFile, nullptr, {path_});
}

LineKind ImportSession::ClassifyLine(std::string_view text) const { return LineClassifier(lineCommentChar_)(text); }

void ImportSession::AddLine(std::string_view text, int32_t number, bool isInlineComment, LineKind kind) {
  lines_.emplace_back(text, number, kind, isInlineComment);
}

}  // namespace zav
