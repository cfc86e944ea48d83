#pragma once

#include <cstdint>

namespace zav {

// What a physical line is, by its first non-blank character.
enum class LineKind : uint8_t {
  Other = 0,         // none of the below (a digit, for example)
  Comment = 1,       // a line-comment character, or a blank line
  Control = 2,       // "." and none of the three prefixes below
  Model = 3,         // ".MOD..."
  Subckt = 4,        // ".SU..."
  Ends = 5,          // ".ENDS..."
  Element = 6,       // a letter
  Continuation = 7,  // "+"
};

}  // namespace zav
