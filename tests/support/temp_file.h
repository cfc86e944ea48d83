#pragma once

#include <string>
#include <string_view>

namespace zav::testing {

// A file in the system's temporary folder holding `bytes`, removed again when
// the object goes.
class TempFile {
 public:
  explicit TempFile(std::string_view bytes, std::string_view suffix = ".lib");
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace zav::testing
