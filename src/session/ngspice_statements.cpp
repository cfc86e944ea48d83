#include "session/ngspice_statements.h"

#include <string_view>

#include "platform/ascii.h"
#include "text/source_line.h"

namespace zav {
namespace {

constexpr std::string_view kNgspiceStatements[] = {
    ".PARAM",
    ".FUNC",
};

}  // namespace

bool IsNgspiceStatement(const LineList& lines) {
  for (const SourceLine* line : lines) {
    if (line->kind == LineKind::Comment) continue;
    const std::string_view text = line->text;
    std::size_t begin = 0;
    while (begin < text.size() && IsAsciiSpace(text[begin])) ++begin;
    std::size_t end = begin;
    while (end < text.size() && !IsAsciiSpace(text[end])) ++end;
    const std::string_view word = text.substr(begin, end - begin);
    for (std::string_view statement : kNgspiceStatements) {
      if (EqualsNoCase(word, statement)) return true;
    }
    return false;
  }
  return false;
}

}  // namespace zav
