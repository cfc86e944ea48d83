// One input file imported through the library's exports.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "diagnostic_format.h"
#include "zav.h"

namespace zav {
class ImportSession;
}

namespace zav::cli {

class FileImport {
 public:
  FileImport() = default;
  FileImport(const FileImport&) = delete;
  FileImport& operator=(const FileImport&) = delete;
  ~FileImport();

  // Imports the file. False, with the reason in `error`, when it cannot be
  // read (the library files no diagnostic then) or memory ran out (it files
  // one).
  bool Run(const std::filesystem::path& path, std::string& error);

  // The session's models in model-list order.
  std::vector<ZAV_MODEL> Models() const;

  // The model's text, exactly as ZAV_GetModelInfo delivers it. `buffer` is
  // reused between calls so that a text is built once when it fits.
  static const std::string& ModelText(ZAV_MODEL model, std::string& buffer);

  // The diagnostics this import filed, in list order. The process-wide list
  // is emptied afterwards, so each import reads only its own.
  static std::vector<ParsedDiagnostic> TakeDiagnostics();

  ImportSession& Session() const;

 private:
  ZAV_SESSION session_ = nullptr;
};

}  // namespace zav::cli
