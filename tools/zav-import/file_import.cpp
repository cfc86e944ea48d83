#include "file_import.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "cards/imported_model.h"
#include "diagnostics/diagnostic_sink.h"
#include "session/import_session.h"

namespace zav::cli {

FileImport::~FileImport() {
  if (session_ != nullptr) {
    int status = ZAV_STATUS_OK;
    ZAV_EndImport(session_, &status);
  }
}

bool FileImport::Run(const std::filesystem::path& path, std::string& error) {
  const std::string name = path.string();
  // The library only says "bad argument" for a file it cannot read; opening
  // it here first gives the reason.
  std::FILE* probe = std::fopen(name.c_str(), "rb");
  if (probe == nullptr) {
    error = std::strerror(errno);
    return false;
  }
  std::fclose(probe);
  // zav-import owns its process and reads each import's diagnostics on its
  // own: they are filed apart from the process-wide list, which keeps the
  // files apart and lets imports run side by side.
  ScopedDiagnosticSink sink(diagnostics_);
  int status = ZAV_STATUS_OK;
  if (ZAV_PerformImport(name.c_str(), 0, &session_, &status) == 0) {
    session_ = nullptr;
    error = "the library cannot read it";
    return false;
  }
  return true;
}

std::vector<ZAV_MODEL> FileImport::Models() const {
  std::vector<ZAV_MODEL> models;
  int status = ZAV_STATUS_OK;
  ZAV_MODEL model = nullptr;
  for (int more = ZAV_GetModelFirst(session_, &model, &status); more != 0;
       more = ZAV_GetModelNext(session_, &model, &status)) {
    models.push_back(model);
  }
  return models;
}

void FileImport::AppendModelText(ZAV_MODEL model, std::string& out) {
  // ZAV_GetModelInfo answers with ImportedModel::ModelText, built afresh for
  // the length and again for the text; in-process the text is built once,
  // into the caller's buffer.
  reinterpret_cast<const ImportedModel*>(model)->AppendModelText(out);
}

ImportSession& FileImport::Session() const { return *reinterpret_cast<ImportSession*>(session_); }

}  // namespace zav::cli
