#pragma once

#include <cstdint>
#include <string>

#include "session/line_kind.h"

namespace zav {

// One line as read from the model file (at most 511 characters; a longer
// physical line arrives in pieces, each its own line). The session owns every
// SourceLine; cards and tokens only point at them.
struct SourceLine {
  // The line as it is to be written out. Starts as the text read; a line that
  // is turned into a comment becomes "* " followed by rawText.
  std::string text;
  // The text as read (for a split line, the part this record holds); never
  // changed. Diagnostic headers quote it.
  std::string rawText;
  int32_t number = 0;
  LineKind kind = LineKind::Other;
  // Set for the comment part split off the end of a code line.
  bool isInlineComment = false;
};

}  // namespace zav
