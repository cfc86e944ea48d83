#include "file_import.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <stdexcept>

#include "cards/imported_model.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/diagnostic_list.h"
#include "diagnostics/diagnostic_sink.h"
#include "session/import_session.h"
#include "session/import_settings.h"

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
  std::optional<ScopedDiagnosticSink> sink;
  if (settings_.ownDiagnostics) sink.emplace(diagnostics_);
  ImportSettings settings;
  settings.keepEditedTokens = settings_.keepEditedTokens;
  settings.target = settings_.target;
  ScopedImportSettings scope(settings);
  int status = ZAV_STATUS_OK;
  int before = 0;
  ZAV_GetErrorCount(nullptr, &before);
  if (ZAV_PerformImport(name.c_str(), 0, &session_, &status) == 0) {
    session_ = nullptr;
    // A file it could not read leaves no diagnostic; running out of memory does.
    int after = 0;
    ZAV_GetErrorCount(nullptr, &after);
    const bool filed = settings_.ownDiagnostics ? !diagnostics_.empty() : after > before;
    error = filed ? "not enough memory to import it" : "the library cannot read it";
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

const std::string& FileImport::ModelText(ZAV_MODEL model, std::string& buffer) {
  // The length comes first: a text may hold any byte, so its end cannot be
  // told from a terminator.
  int status = ZAV_STATUS_OK;
  unsigned size = 4;
  int length = 0;
  if (ZAV_GetModelInfo(model, ZAV_INFO_LENGTH, &length, &size, &status) == 0 || length < 0) {
    throw std::runtime_error("the library did not deliver the length of a model text");
  }
  buffer.assign(static_cast<std::size_t>(length) + 1, '\0');
  size = static_cast<unsigned>(buffer.size());
  if (ZAV_GetModelInfo(model, ZAV_INFO_TEXT, buffer.data(), &size, &status) == 0) {
    throw std::runtime_error("the library did not deliver a model text");
  }
  buffer.resize(static_cast<std::size_t>(length));
  return buffer;
}

std::vector<ParsedDiagnostic> FileImport::TakeDiagnostics() {
  std::vector<ParsedDiagnostic> diagnostics;
  int status = ZAV_STATUS_OK;
  ZAV_DIAGNOSTIC handle = nullptr;
  // The handles are the library's own records: their text is what a host
  // receives, and they say their code and severity.
  for (int more = ZAV_GetErrorFirst(nullptr, &handle, &status); more != 0;
       more = ZAV_GetErrorNext(nullptr, &handle, &status)) {
    diagnostics.push_back(ParseDiagnostic(*reinterpret_cast<const Diagnostic*>(handle)));
  }
  // The list merges all imports by line number: emptying it after each
  // import keeps the next import's diagnostics apart from these.
  TheDiagnosticList().Clear();
  return diagnostics;
}

void FileImport::AppendModelText(ZAV_MODEL model, std::string& out) {
  // ZAV_GetModelInfo answers with ImportedModel::ModelText, built afresh for
  // the length and again for the text; in-process the text is built once,
  // into the caller's buffer.
  reinterpret_cast<const ImportedModel*>(model)->AppendModelText(out);
}

void FileImport::AppendModelText(ZAV_MODEL model, JoiningAppender& out) {
  reinterpret_cast<const ImportedModel*>(model)->JoinModelText(out);
}

ImportSession& FileImport::Session() const { return *reinterpret_cast<ImportSession*>(session_); }

}  // namespace zav::cli
