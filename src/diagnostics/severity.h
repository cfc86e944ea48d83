#pragma once

#include <cstdint>

namespace zav {

// How serious a diagnostic is. Value 1 is not used. FileError marks messages
// about the file as a whole (opening, reading, closing it, or finding nothing
// in it); it prints like an error.
enum class Severity : int32_t {
  FileError = 0,
  Info = 2,
  Warning = 3,
  Error = 4,
};

}  // namespace zav
