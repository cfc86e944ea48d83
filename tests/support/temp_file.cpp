#include "support/temp_file.h"

#include <atomic>
#include <filesystem>
#include <fstream>

#include <unistd.h>

namespace zav::testing {

TempFile::TempFile(std::string_view bytes, std::string_view suffix) {
  static std::atomic<int> counter{0};
  const auto dir = std::filesystem::temp_directory_path();
  path_ = (dir / ("zav-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + std::string(suffix)))
              .string();
  std::ofstream(path_, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TempFile::~TempFile() {
  std::error_code ignored;
  std::filesystem::remove(path_, ignored);
}

}  // namespace zav::testing
