// ZAV_MapPIErrorCode: the text of a status code.
#include <cstdio>
#include <cstring>
#include <string>

#include "api/guard.h"
#include "zav.h"

namespace {

// Indexed by status value; 0 has no text.
constexpr const char* kStatusTexts[] = {
    nullptr,
    "No Error. Reached the end of the data iteration.",
    "One or more of the function input arguments is bad",
    "The size argument for an info call is invalid.",
    "The type of info requested is invalid.",
};

}  // namespace

extern "C" ZAV_API int ZAV_CALL ZAV_MapPIErrorCode(int code, char* buffer, unsigned size) {
  return zav::GuardExport(nullptr, [&]() -> int {
    if (code == 0) return 0;
    char text[4096];
    // Negative codes compare as large unsigned values: they are unknown too.
    if (static_cast<unsigned>(code) < sizeof kStatusTexts / sizeof kStatusTexts[0]) {
      std::snprintf(text, sizeof text, "%s", kStatusTexts[code]);
    } else {
      std::snprintf(text, sizeof text, "Unknown Error. Error Code = %d", code);
    }
    if (buffer == nullptr || size == 0) return 1;
    const std::size_t length = std::strlen(text);
    std::memset(buffer, 0, size);
    std::memcpy(buffer, text, length < size ? length : size);
    return 1;
  });
}
