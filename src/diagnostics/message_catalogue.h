#pragma once

#include <cstddef>
#include <cstdint>

#include "diagnostics/severity.h"

namespace zav {

struct MessageRow {
  Severity severity;
  const char* format;
};

constexpr std::size_t kMessageCount = 42;

// The catalogue row of a message code; codes outside 0..41 have none.
const MessageRow* FindMessage(int code);

}  // namespace zav
