#include "text/source_line.h"

namespace zav {

SourceLine SourceLine::MakeOwning(std::string_view text, int32_t number, LineKind kind, bool isInlineComment) {
  SourceLine line;
  line.ownRawText = std::make_unique<std::string>(text);
  line.rawText = *line.ownRawText;
  line.text = line.rawText;
  line.number = number;
  line.kind = kind;
  line.isInlineComment = isInlineComment;
  return line;
}

}  // namespace zav
