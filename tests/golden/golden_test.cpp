// Runs every golden case of this folder: the import's model and diagnostic
// texts must equal the .expected file byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "support/golden_format.h"

namespace {

TEST(Golden, EveryCaseMatchesItsExpectedFile) {
  EXPECT_GT(zav::testing::CheckGoldenFolder(std::string(ZAV_TEST_DATA_DIR) + "/golden"), 0);
}

}  // namespace
