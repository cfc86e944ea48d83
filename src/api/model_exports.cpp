// The model iteration: ZAV_GetModelFirst, ZAV_GetModelNext, ZAV_GetModelInfo.
#include <string>

#include "api/guard.h"
#include "api/info_protocol.h"
#include "api/out_of_memory.h"
#include "cards/imported_model.h"
#include "session/import_session.h"
#include "zav.h"

namespace {

zav::ImportSession* AsSession(ZAV_SESSION handle) { return reinterpret_cast<zav::ImportSession*>(handle); }

ZAV_MODEL AsHandle(zav::ImportedModel* model) { return reinterpret_cast<ZAV_MODEL>(model); }

}  // namespace

extern "C" ZAV_API int ZAV_CALL ZAV_GetModelFirst(ZAV_SESSION session, ZAV_MODEL* model, int* status) {
  if (zav::StatusBlocks(status)) return 0;
  if (session == nullptr || model == nullptr) {
    *status = ZAV_STATUS_BAD_ARGUMENT;
    return 0;
  }
  zav::ImportedModel* first = AsSession(session)->FirstModel();
  *model = AsHandle(first);
  if (first == nullptr) {
    *status = ZAV_STATUS_END_OF_DATA;
    return 0;
  }
  return 1;
}

extern "C" ZAV_API int ZAV_CALL ZAV_GetModelNext(ZAV_SESSION session, ZAV_MODEL* model, int* status) {
  if (zav::StatusBlocks(status)) return 0;
  if (session == nullptr || model == nullptr) {
    *status = ZAV_STATUS_BAD_ARGUMENT;
    return 0;
  }
  zav::ImportedModel* next = AsSession(session)->NextModel();
  *model = AsHandle(next);
  if (next == nullptr) {
    *status = ZAV_STATUS_END_OF_DATA;
    return 0;
  }
  return 1;
}

extern "C" ZAV_API int ZAV_CALL ZAV_GetModelInfo(ZAV_MODEL model, int infoType, void* buffer, unsigned* size,
                                                 int* status) {
  if (zav::StatusBlocks(status)) return 0;
  const auto* imported = reinterpret_cast<const zav::ImportedModel*>(model);
  return zav::GuardExport(
      status,
      [&]() -> int {
        if (imported == nullptr) {
          *status = ZAV_STATUS_BAD_ARGUMENT;
          return 0;
        }
        if (infoType != ZAV_INFO_LENGTH && infoType != ZAV_INFO_TEXT) {
          *status = ZAV_STATUS_BAD_INFO_TYPE;
          return 0;
        }
        // Built afresh at every call, and released before returning on every path.
        const std::string text = imported->ModelText();
        return zav::AnswerInfo(text, infoType, buffer, size, status);
      },
      [&] {
        // The models a host receives are the top-level ones, which know their
        // session: the import they belong to.
        const auto* owner = static_cast<const zav::ImportSession*>(imported->Session());
        zav::ReportOutOfMemory(owner != nullptr ? owner->path().c_str() : "", owner != nullptr ? owner->fileSize() : 0);
      });
}
