#pragma once

#include <array>
#include <cstdint>

namespace zav {

// One input style the library understands. The style handle is the row index;
// the style code is what the session receives. They differ: index 0 carries
// code 1.
struct ImportStyle {
  const char* name;
  int32_t styleCode;
};

inline constexpr std::array<ImportStyle, 1> kStyles = {{
    {"PSPICE", 1},
}};

inline constexpr int32_t kStyleCount = static_cast<int32_t>(kStyles.size());

}  // namespace zav
