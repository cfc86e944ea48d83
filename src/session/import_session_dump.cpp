// ImportSession members: the readable listing of a finished import.
#include <cstdio>

#include "session/import_session.h"

namespace zav {

void ImportSession::Dump(std::FILE* out) const {
  std::fputs("\t*************** INPUT TEXT ***************\n", out);
  for (const SourceLine& line : lines_) {
    // The comment part of a split line continues the output line of its
    // code part, which has no line feed of its own.
    if (!line.isInlineComment) {
      std::fprintf(out, "\nLine %3d(%d): ", static_cast<int>(line.number), static_cast<int>(line.kind));
    }
    if (!line.text.empty()) std::fwrite(line.text.data(), 1, line.text.size(), out);
  }
  std::fputs("\n", out);
  std::fputs("\n\n\t\t*************** MODELS ***************\n", out);
  int counter = 1;
  for (const auto& card : cards_) {
    std::fprintf(out, "\tModel %d:\n", counter++);
    card->Print(out);
  }
}

}  // namespace zav
