// Runs every golden case of tests/ngspice_golden, translated for ngspice: the
// import's model and diagnostic texts must equal the .expected file byte for
// byte (the format of tests/golden/README.md).
#include <gtest/gtest.h>

#include <string>

#include "session/import_settings.h"
#include "support/golden_format.h"

namespace {

TEST(NgspiceGolden, EveryCaseMatchesItsExpectedFile) {
  zav::ImportSettings settings;
  settings.target = zav::TranslationTarget::Ngspice;
  zav::ScopedImportSettings scope(settings);
  EXPECT_GT(zav::testing::CheckGoldenFolder(std::string(ZAV_TEST_DATA_DIR) + "/ngspice_golden"), 0);
}

}  // namespace
