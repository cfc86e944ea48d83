#pragma once

#include <cstdint>
#include <string_view>

#include "text/line_kind.h"
#include "text/line_text.h"

namespace zav {

// One line as read from the model file (at most 511 characters; a longer
// physical line arrives in pieces, each its own line). The session owns every
// SourceLine; cards and tokens only point at them.
//
// The texts are views. A line the session read views the session's copy of
// the file, which lives as long as the session; a line made on its own (by
// MakeOwning) or turned into a comment keeps that text in a block of its own.
// Either way a text, once given out, stays valid as long as the line.
struct SourceLine {
  SourceLine() = default;
  // A line that views `read`, which its maker keeps alive.
  SourceLine(std::string_view read, int32_t lineNumber, LineKind lineKind, bool inlineComment)
      : text(read), rawText(read), number(lineNumber), kind(lineKind), isInlineComment(inlineComment) {}
  SourceLine(SourceLine&& other) noexcept;
  SourceLine& operator=(SourceLine&& other) noexcept;
  SourceLine(const SourceLine&) = delete;
  SourceLine& operator=(const SourceLine&) = delete;
  // Inline: an import destroys a line per line of its file, and most own
  // nothing.
  ~SourceLine() {
    if (ownsRawText_ || ownsText_) Release();
  }

  // A line that keeps its own copy of `text`.
  static SourceLine MakeOwning(std::string_view text, int32_t number, LineKind kind, bool isInlineComment = false);

  // Makes `text` "* " followed by rawText, in a block the line keeps. The old
  // text stays where it is: tokens of a card being dropped may still view it.
  void SetCommentedText();

  // Makes `text` a text the caller keeps alive as long as the line; a text
  // the line owned goes (nothing may view it any more).
  void SetKeptText(std::string_view kept);

  // The line as it is to be written out. Starts as the text read; a line that
  // is turned into a comment becomes "* " followed by rawText.
  LineText text;
  // The text as read (for a split line, the part this record holds); never
  // changed. Diagnostic headers quote it.
  LineText rawText;
  int32_t number = 0;
  LineKind kind = LineKind::Other;
  // Set for the comment part split off the end of a code line.
  bool isInlineComment = false;

 private:
  void Release();

  // Whether rawText, and text apart from it, view blocks this line keeps.
  // Bits of one byte, so that destroying a line that owns neither (nearly
  // every line) is one test.
  bool ownsRawText_ : 1 = false;
  bool ownsText_ : 1 = false;
};

}  // namespace zav
