#pragma once

#include <cstddef>
#include <cstdint>

#include "diagnostics/message_code.h"
#include "diagnostics/severity.h"

namespace zav {

struct MessageRow {
  Severity severity;
  const char* format;
};

constexpr std::size_t kMessageCount = static_cast<std::size_t>(kMessageCodeCount);

// The catalogue row of a message code; codes outside the catalogue have none.
const MessageRow* FindMessage(MessageCode code);
const MessageRow* FindMessage(int code);

}  // namespace zav
