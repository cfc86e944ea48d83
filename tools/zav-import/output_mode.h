// What zav-import writes for each imported file, one class per output mode:
// the translated texts to standard output or to files, the model list, the
// debug dump, or nothing at all (--check).
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "diagnostic_format.h"
#include "file_import.h"
#include "model_completeness.h"
#include "model_facts.h"
#include "options.h"

namespace zav::cli {

// One input file after its import, with what the output modes need of it.
struct ConvertedFile {
  std::string name;                    // as shown to the user
  std::filesystem::path outputPath;    // for the files mode
  const FileImport* import = nullptr;
  std::vector<ZAV_MODEL> models;       // in model-list order
  // Set when the mode asks for them (NeedsModelFacts).
  const ModelLineMap* lineMap = nullptr;
  const std::vector<ModelCompleteness>* completeness = nullptr;
  // What Prepare made for Write.
  std::string prepared;
};

// Writes everything zav-import sends to standard output and remembers
// whether the last byte ended a line, so that the texts of two files are
// never run together on one line.
class StandardOutput {
 public:
  void Write(std::string_view text);
  void StartFile();

 private:
  bool endsLine_ = true;
};

// A mode's work on a file comes in two parts: Prepare, which may run on any
// thread as soon as the file is imported (files of a batch are imported side
// by side), and Write, which runs on the main thread in input order, so that
// standard output reads as one run would write it.
class OutputMode {
 public:
  virtual ~OutputMode() = default;
  // Whether the mode reads the models' facts and completeness.
  virtual bool NeedsModelFacts() const { return false; }
  // False after an output error, which has been put into `error`.
  virtual bool Prepare(ConvertedFile& file, std::string& error) {
    (void)file;
    (void)error;
    return true;
  }
  virtual bool Write(const ConvertedFile& file, std::string& error) = 0;
  // Whether Write reads the import (its models, its session) rather than
  // only what Prepare left in `prepared`. When it does not, the import can
  // go as soon as the file is prepared, on the thread that made it.
  virtual bool WriteReadsImport() const { return true; }
};

// The mode the options choose. `severalFiles`: whether output names its file;
// `sideBySide`: whether files are imported side by side.
std::unique_ptr<OutputMode> MakeOutputMode(const Options& options, bool severalFiles, bool sideBySide,
                                           StandardOutput& out);

}  // namespace zav::cli
