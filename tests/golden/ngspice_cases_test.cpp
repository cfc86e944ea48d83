// Runs every golden case of tests/ngspice_golden, translated for ngspice: the
// import's model and diagnostic texts must equal the .expected file byte for
// byte (the format of tests/golden/README.md).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "session/import_settings.h"
#include "support/golden_format.h"

namespace fs = std::filesystem;

namespace {

TEST(NgspiceGolden, EveryCaseMatchesItsExpectedFile) {
  const bool update = std::getenv("ZAV_UPDATE_GOLDEN") != nullptr;
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(fs::path(ZAV_TEST_DATA_DIR) / "ngspice_golden")) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".expected" && ext != ".md") inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  ASSERT_FALSE(inputs.empty());

  zav::ImportSettings settings;
  settings.target = zav::TranslationTarget::Ngspice;
  zav::ScopedImportSettings scope(settings);
  for (const fs::path& input : inputs) {
    fs::path expectedPath = input;
    expectedPath.replace_extension(".expected");
    const std::string actual = zav::testing::ImportAndRender(input.string());
    if (update) {
      std::ofstream(expectedPath, std::ios::binary) << actual;
      continue;
    }
    ASSERT_TRUE(fs::exists(expectedPath)) << "no .expected file for " << input;
    EXPECT_EQ(zav::testing::ReadFileBytes(expectedPath.string()), actual) << "ngspice golden case " << input.filename();
  }
}

}  // namespace
