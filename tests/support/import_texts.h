#pragma once

#include <string>
#include <vector>

namespace zav::testing {

// The model texts and the diagnostic texts of one import.
struct ImportedTexts {
  std::vector<std::string> models;
  std::vector<std::string> diagnostics;
};

// Imports `bytes` (written to a temporary file) on an emptied diagnostic list.
ImportedTexts ImportBytes(const std::string& bytes);

}  // namespace zav::testing
