// The style iteration: ZAV_GetStyleFirst, ZAV_GetStyleNext, ZAV_GetStyleInfo.
#include "api/guard.h"
#include "api/info_protocol.h"
#include "api/style_table.h"
#include "zav.h"

extern "C" ZAV_API int ZAV_CALL ZAV_GetStyleFirst(int* style, int* status) {
  if (zav::StatusBlocks(status)) return 0;
  if (style == nullptr) {
    *status = ZAV_STATUS_BAD_ARGUMENT;
    return 0;
  }
  *style = 0;
  return 1;
}

extern "C" ZAV_API int ZAV_CALL ZAV_GetStyleNext(int* style, int* status) {
  if (zav::StatusBlocks(status)) return 0;
  if (style == nullptr || *style < 0 || *style >= zav::kStyleCount) {
    *status = ZAV_STATUS_BAD_ARGUMENT;
    return 0;
  }
  const int next = *style + 1;
  if (next == zav::kStyleCount) {
    *style = -1;
    *status = ZAV_STATUS_END_OF_DATA;
    return 0;
  }
  *style = next;
  return 1;
}

extern "C" ZAV_API int ZAV_CALL ZAV_GetStyleInfo(int style, int infoType, void* buffer, unsigned* size,
                                                 int* status) {
  if (zav::StatusBlocks(status)) return 0;
  return zav::GuardExport(status, [&]() -> int {
    if (style < 0 || style >= zav::kStyleCount) {
      *status = ZAV_STATUS_BAD_ARGUMENT;
      return 0;
    }
    return zav::AnswerInfo(zav::kStyles[static_cast<std::size_t>(style)].name, infoType, buffer, size, status);
  });
}
