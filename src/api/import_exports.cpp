// The import: ZAV_PerformImport and ZAV_EndImport.
#include <memory>

#include "api/guard.h"
#include "api/out_of_memory.h"
#include "api/style_table.h"
#include "platform/file_access.h"
#include "session/import_session.h"
#include "zav.h"

extern "C" ZAV_API int ZAV_CALL ZAV_PerformImport(const char* path, int style, ZAV_SESSION* session,
                                                  int* status) {
  if (zav::StatusBlocks(status)) return 0;
  uint64_t fileSize = 0;
  return zav::GuardExport(
      status,
      [&]() -> int {
        if (!zav::IsReadable(path) || style < 0 || style >= zav::kStyleCount || session == nullptr) {
          *status = ZAV_STATUS_BAD_ARGUMENT;
          return 0;
        }
        fileSize = zav::FileSize(path);
        // Should memory run out, the session goes with the frame, and with it
        // everything the import had allocated, before the report is filed.
        auto created = std::make_unique<zav::ImportSession>();
        created->SetStyle(zav::kStyles[static_cast<std::size_t>(style)].styleCode);
        created->Import(path);
        *session = reinterpret_cast<ZAV_SESSION>(created.release());
        return 1;
      },
      [&] { zav::ReportOutOfMemory(path, fileSize); });
}

extern "C" ZAV_API int ZAV_CALL ZAV_EndImport(ZAV_SESSION session, int* status) {
  if (zav::StatusBlocks(status)) return 0;
  return zav::GuardExport(status, [&]() -> int {
    if (session == nullptr) {
      *status = ZAV_STATUS_BAD_ARGUMENT;
      return 0;
    }
    delete reinterpret_cast<zav::ImportSession*>(session);
    return 1;
  });
}
