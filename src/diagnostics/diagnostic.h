#pragma once

#include <cstdint>
#include <string>

#include "diagnostics/message_code.h"
#include "diagnostics/severity.h"

namespace zav {

// One filed diagnostic: the number of the input line it is about (0 for none)
// and its finished text. It keeps no reference to the line, so it stays
// readable after the import that filed it has ended. Its address is the
// host's diagnostic handle.
struct Diagnostic {
  int32_t lineNumber = 0;
  std::string text;
  // The catalogue row it was made from, and that row's severity.
  MessageCode code = MessageCode::UnexpectedEndOfFile;
  Severity severity = Severity::Error;
};

}  // namespace zav
