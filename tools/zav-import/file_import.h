// One input file imported through the library's exports.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "diagnostics/diagnostic_batch.h"
#include "zav.h"

namespace zav {
class ImportSession;
}

namespace zav::cli {

class FileImport {
 public:
  // `withTexts` clear: the diagnostics are filed without their texts (for a
  // run that prints none).
  explicit FileImport(bool withTexts = true) : diagnostics_(withTexts) {}
  FileImport(const FileImport&) = delete;
  FileImport& operator=(const FileImport&) = delete;
  ~FileImport();

  // Imports the file. Its diagnostics go into `diagnostics()`, not into the
  // process-wide list: imports may run on several threads at once. False,
  // with the reason in `error`, when it cannot be read; the library files no
  // diagnostic then.
  bool Run(const std::filesystem::path& path, std::string& error);

  // The session's models in model-list order.
  std::vector<ZAV_MODEL> Models() const;

  // Appends the model's text, exactly as ZAV_GetModelInfo delivers it (the
  // same library call builds it), to `out`: many texts, one buffer.
  static void AppendModelText(ZAV_MODEL model, std::string& out);

  // The diagnostics the import filed, in the library's list order.
  const DiagnosticBatch& Diagnostics() { return diagnostics_.Sorted(); }

  ImportSession& Session() const;

 private:
  ZAV_SESSION session_ = nullptr;
  DiagnosticBatch diagnostics_;
};

}  // namespace zav::cli
