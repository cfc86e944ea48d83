#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "text/line_kind.h"

namespace zav {

// One line as read from the model file (at most 511 characters; a longer
// physical line arrives in pieces, each its own line). The session owns every
// SourceLine; cards and tokens only point at them.
//
// The texts are views. A line the session read views the session's copy of
// the file, which lives as long as the session; a line made on its own (by
// MakeOwning) or turned into a comment keeps its text in its own storage.
// Either way a text, once given out, stays valid as long as the line.
struct SourceLine {
  // The line as it is to be written out. Starts as the text read; a line that
  // is turned into a comment becomes "* " followed by rawText.
  std::string_view text;
  // The text as read (for a split line, the part this record holds); never
  // changed. Diagnostic headers quote it.
  std::string_view rawText;
  int32_t number = 0;
  LineKind kind = LineKind::Other;
  // Set for the comment part split off the end of a code line.
  bool isInlineComment = false;

  // Storage for texts that view nothing else: the text as read of a line
  // made on its own, and the commented text of a line turned into a comment
  // (which happens at most once).
  std::unique_ptr<std::string> ownRawText;
  std::unique_ptr<std::string> ownText;

  // A line that keeps its own copy of `text`.
  static SourceLine MakeOwning(std::string_view text, int32_t number, LineKind kind, bool isInlineComment = false);
};

}  // namespace zav
