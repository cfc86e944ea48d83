// One input file imported through the library's exports.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "diagnostic_format.h"
#include "cards/translation_target.h"
#include "diagnostics/diagnostic_batch.h"
#include "zav.h"

namespace zav {
class ImportSession;
class JoiningAppender;
}

namespace zav::cli {

class FileImport {
 public:
  // How an import files its diagnostics and what it keeps.
  struct Settings {
    // Into a batch of its own (Diagnostics()), not into the process-wide
    // list (TakeDiagnostics()): imports may then run on several threads at
    // once.
    bool ownDiagnostics = false;
    // Filed with their texts (a run that prints none goes without).
    bool diagnosticTexts = true;
    // Edited cards keep the tokens the report traces their lines by.
    bool keepEditedTokens = true;
    // The simulator the models are translated for.
    TranslationTarget target = TranslationTarget::Host;
  };

  FileImport() : FileImport(Settings()) {}
  explicit FileImport(const Settings& settings)
      : settings_(settings), diagnostics_(settings.diagnosticTexts) {}
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
  // The same text, built by the same library call without the export's
  // length round trip, appended to `out`: many texts, one buffer.
  static void AppendModelText(ZAV_MODEL model, std::string& out);
  // The same through an appender, which joins texts that continue each other
  // in memory (see JoiningAppender) across models too.
  static void AppendModelText(ZAV_MODEL model, JoiningAppender& out);

  // With ownDiagnostics: the diagnostics the import filed, in the library's
  // list order.
  const DiagnosticBatch& Diagnostics() { return diagnostics_.Sorted(); }

  // Without ownDiagnostics: the diagnostics the last imports filed, in list
  // order. The process-wide list is emptied afterwards, so each import reads
  // only its own.
  static std::vector<ParsedDiagnostic> TakeDiagnostics();

  ImportSession& Session() const;

 private:
  Settings settings_;
  ZAV_SESSION session_ = nullptr;
  DiagnosticBatch diagnostics_;
};

}  // namespace zav::cli
