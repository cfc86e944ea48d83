// Writing translated texts as they lie in memory, stretch by stretch.
#include "output_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace zav::cli {
namespace {

std::string ReadBack(std::FILE* file) {
  std::rewind(file);
  std::string text;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
  return text;
}

TEST(WriteStretches, WritesEveryStretchInOrderAfterWhatTheStreamHeld) {
  // More stretches than the system takes in one call, empty ones among
  // them, and text the stream buffered before and after.
  std::string source;
  for (int i = 0; i < 5000; ++i) source.push_back(static_cast<char>('a' + i % 26));
  std::vector<std::string_view> stretches;
  std::string expected = "head|";
  for (std::size_t i = 0; i < 3000; ++i) {
    const std::string_view stretch = std::string_view(source).substr(i % 97, i % 5 == 0 ? 0 : i % 41);
    stretches.push_back(stretch);
    expected += stretch;
  }
  expected += "|tail";
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  std::fputs("head|", file);
  EXPECT_TRUE(WriteStretches(file, stretches));
  std::fputs("|tail", file);
  EXPECT_EQ(ReadBack(file), expected);
  EXPECT_TRUE(WriteStretches(file, {}));
  std::fclose(file);
}

TEST(WriteStretches, AFailedWriteSetsTheStreamsErrorAsAFailedFwriteDoes) {
  // The converter learns of a failure on standard output from the stream.
  std::FILE* readOnly = std::fopen(ZAV_CLI_DATA_DIR "/../CMakeLists.txt", "r");
  ASSERT_NE(readOnly, nullptr);
  const std::vector<std::string_view> stretches = {"a stretch\n", "another\n"};
  EXPECT_FALSE(WriteStretches(readOnly, stretches));
  EXPECT_NE(std::ferror(readOnly), 0);
  std::fclose(readOnly);

  if (std::FILE* full = std::fopen("/dev/full", "w")) {
    EXPECT_FALSE(WriteStretches(full, stretches));
    EXPECT_NE(std::ferror(full), 0);
    std::fclose(full);
  }
}

}  // namespace
}  // namespace zav::cli
