// Runs every golden case of this folder: the import's model and diagnostic
// texts must equal the .expected file byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/golden_format.h"

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> GoldenInputs() {
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(fs::path(ZAV_TEST_DATA_DIR) / "golden")) {
    const fs::path& p = entry.path();
    const std::string ext = p.extension().string();
    if (ext == ".expected" || ext == ".md" || ext == ".cpp") continue;
    inputs.push_back(p);
  }
  std::sort(inputs.begin(), inputs.end());
  return inputs;
}

TEST(Golden, EveryCaseMatchesItsExpectedFile) {
  const bool update = std::getenv("ZAV_UPDATE_GOLDEN") != nullptr;
  for (const fs::path& input : GoldenInputs()) {
    fs::path expectedPath = input;
    expectedPath.replace_extension(".expected");
    const std::string actual = zav::testing::ImportAndRender(input.string());
    if (update) {
      std::ofstream(expectedPath, std::ios::binary) << actual;
      continue;
    }
    ASSERT_TRUE(fs::exists(expectedPath)) << "no .expected file for " << input;
    EXPECT_EQ(zav::testing::ReadFileBytes(expectedPath.string()), actual) << "golden case " << input.filename();
  }
}

}  // namespace
