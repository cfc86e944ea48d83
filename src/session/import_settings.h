#pragma once

#include "cards/translation_target.h"

namespace zav {

// What an import does beyond what the exports let a host ask, for a program
// that links the library in-process and reads an import's records after it
// (zav-import): set for the imports the calling thread starts while a
// ScopedImportSettings is alive on it.
struct ImportSettings {
  // Edited cards keep their tokens (with the line each token came from)
  // instead of keeping only their finished texts; the import takes more
  // memory.
  bool keepEditedTokens = false;
  // The simulator the import translates for.
  TranslationTarget target = TranslationTarget::Host;
};

// The settings of imports started on the calling thread now.
const ImportSettings& CurrentImportSettings();

class ScopedImportSettings {
 public:
  explicit ScopedImportSettings(const ImportSettings& settings);
  ~ScopedImportSettings();
  ScopedImportSettings(const ScopedImportSettings&) = delete;
  ScopedImportSettings& operator=(const ScopedImportSettings&) = delete;

 private:
  const ImportSettings* previous_;
};

}  // namespace zav
