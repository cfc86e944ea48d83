#pragma once

#include <cstdint>

namespace zav {

// The simulator an import translates for. The exports always translate for
// the host that loads the library; a program that links the library
// in-process (zav-import) may ask for the open SPICE3-family simulator
// ngspice instead, which reads much of the dialect as written.
enum class TranslationTarget : uint8_t {
  Host = 0,
  Ngspice = 1,
};

}  // namespace zav
