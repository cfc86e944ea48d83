// The diagnostics: ZAV_GetErrorCount, ZAV_GetErrorFirst, ZAV_GetErrorNext,
// ZAV_GetErrorInfo. The list belongs to the process; the first argument of
// the first three is not read.
#include "api/guard.h"
#include "api/info_protocol.h"
#include "diagnostics/diagnostic_list.h"
#include "zav.h"

namespace {

ZAV_DIAGNOSTIC AsHandle(zav::Diagnostic* diagnostic) { return reinterpret_cast<ZAV_DIAGNOSTIC>(diagnostic); }

}  // namespace

extern "C" ZAV_API int ZAV_CALL ZAV_GetErrorCount(void* /*unused*/, int* count) {
  if (count != nullptr) *count = static_cast<int>(zav::TheDiagnosticList().Count());
  return 1;
}

extern "C" ZAV_API int ZAV_CALL ZAV_GetErrorFirst(void* /*unused*/, ZAV_DIAGNOSTIC* diagnostic, int* status) {
  if (zav::StatusBlocks(status)) return 0;
  if (diagnostic == nullptr) {
    *status = ZAV_STATUS_BAD_ARGUMENT;
    return 0;
  }
  zav::Diagnostic* first = zav::TheDiagnosticList().First();
  *diagnostic = AsHandle(first);
  if (first == nullptr) {
    *status = ZAV_STATUS_END_OF_DATA;
    return 0;
  }
  return 1;
}

extern "C" ZAV_API int ZAV_CALL ZAV_GetErrorNext(void* /*unused*/, ZAV_DIAGNOSTIC* diagnostic, int* status) {
  if (zav::StatusBlocks(status)) return 0;
  if (diagnostic == nullptr) {
    *status = ZAV_STATUS_BAD_ARGUMENT;
    return 0;
  }
  zav::Diagnostic* next = zav::TheDiagnosticList().Next();
  *diagnostic = AsHandle(next);
  if (next == nullptr) {
    *status = ZAV_STATUS_END_OF_DATA;
    return 0;
  }
  return 1;
}

extern "C" ZAV_API int ZAV_CALL ZAV_GetErrorInfo(ZAV_DIAGNOSTIC diagnostic, int infoType, void* buffer,
                                                 unsigned* size, int* status) {
  if (zav::StatusBlocks(status)) return 0;
  return zav::GuardExport(status, [&]() -> int {
    if (diagnostic == nullptr) {
      *status = ZAV_STATUS_BAD_ARGUMENT;
      return 0;
    }
    return zav::AnswerInfo(reinterpret_cast<zav::Diagnostic*>(diagnostic)->text, infoType, buffer, size, status);
  });
}
