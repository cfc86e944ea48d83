#include "session/encrypted_block.h"

#include "platform/ascii.h"

namespace zav {
namespace {

// The first word of a line that begins with "$" (after blanks), else empty.
std::string_view DollarWord(std::string_view line) {
  std::size_t start = 0;
  while (start < line.size() && IsAsciiSpace(line[start])) ++start;
  if (start == line.size() || line[start] != '$') return {};
  std::size_t end = start + 1;
  while (end < line.size() && !IsAsciiSpace(line[end])) ++end;
  return line.substr(start, end - start);
}

bool ContainsNoCase(std::string_view text, std::string_view part) {
  for (std::size_t i = 0; i + part.size() <= text.size(); ++i) {
    if (StartsWithNoCase(text.substr(i), part)) return true;
  }
  return false;
}

}  // namespace

bool StartsEncryptedBlock(std::string_view line) { return ContainsNoCase(DollarWord(line), "ENCSTART"); }

bool EndsEncryptedBlock(std::string_view line) { return ContainsNoCase(DollarWord(line), "ENCFINISH"); }

}  // namespace zav
