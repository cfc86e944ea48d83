#include "session/import_settings.h"

namespace zav {
namespace {

const ImportSettings kDefaults;
thread_local const ImportSettings* tSettings = nullptr;

}  // namespace

const ImportSettings& CurrentImportSettings() { return tSettings != nullptr ? *tSettings : kDefaults; }

ScopedImportSettings::ScopedImportSettings(const ImportSettings& settings) : previous_(tSettings) {
  tSettings = &settings;
}

ScopedImportSettings::~ScopedImportSettings() { tSettings = previous_; }

}  // namespace zav
