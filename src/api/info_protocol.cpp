#include "api/info_protocol.h"

#include <cstdint>
#include <cstring>

#include "zav.h"

namespace zav {

int AnswerInfo(std::string_view text, int infoType, void* buffer, unsigned* size, int* status) {
  if (size == nullptr) {
    *status = ZAV_STATUS_BAD_ARGUMENT;
    return 0;
  }
  switch (infoType) {
    case ZAV_INFO_LENGTH: {
      if (*size != sizeof(int32_t)) {
        *size = sizeof(int32_t);
        *status = ZAV_STATUS_BAD_SIZE;
        return 0;
      }
      if (buffer == nullptr) {
        *status = ZAV_STATUS_BAD_ARGUMENT;
        return 0;
      }
      const int32_t length = static_cast<int32_t>(text.size());
      std::memcpy(buffer, &length, sizeof length);
      return 1;
    }
    case ZAV_INFO_TEXT: {
      const std::size_t n = text.size();
      if (*size < n) {
        *size = static_cast<unsigned>(n);
        *status = ZAV_STATUS_BAD_SIZE;
        return 0;
      }
      if (buffer == nullptr && (n > 0 || *size > 0)) {
        *status = ZAV_STATUS_BAD_ARGUMENT;
        return 0;
      }
      if (n > 0) std::memcpy(buffer, text.data(), n);
      // A buffer of exactly n bytes receives the characters unterminated.
      if (*size > n) static_cast<char*>(buffer)[n] = '\0';
      return 1;
    }
    default:
      *status = ZAV_STATUS_BAD_INFO_TYPE;
      return 0;
  }
}

}  // namespace zav
