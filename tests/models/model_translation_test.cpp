#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "support/import_texts.h"

namespace zav {
namespace {

using testing::ImportBytes;

// A model with tens of thousands of parameters that its table does not know,
// and a second model that copies them all by AKO and loses them again: every
// parameter is commented out and reported, in linear time.
TEST(ModelTranslationTest, LongParameterListsAreCopiedAndRemovedInLinearTime) {
  constexpr int kCount = 40000;
  std::string bytes = ".MODEL A D IS=1\n";
  for (int i = 0; i < kCount; ++i) bytes += "+ P" + std::to_string(i) + "=1\n";
  bytes += ".MODEL B AKO:A D N=2\n";

  const auto start = std::chrono::steady_clock::now();
  const testing::ImportedTexts result = ImportBytes(bytes);
  const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

  ASSERT_EQ(result.models.size(), 2u);
  EXPECT_EQ(result.diagnostics.size(), 2u * kCount);
  const std::string& a = result.models[0];
  EXPECT_EQ(a.rfind(".MODEL A D IS=1\n* P0=1\n* P1=1\n", 0), 0u);
  EXPECT_NE(a.find("\n* P39999=1\n"), std::string::npos);
  EXPECT_EQ(a.find("\n+"), std::string::npos);
  const std::string& b = result.models[1];
  EXPECT_EQ(b.rfind(".MODEL B\n* AKO:A \n+ D N=2\n+ IS = 1    ; Added via AKO reference from: \"A\"\n"
                    "* P0 = 1    ; Added via AKO reference from: \"A\"\n",
                    0),
            0u);
  EXPECT_LT(seconds, 10.0);
}

}  // namespace
}  // namespace zav
