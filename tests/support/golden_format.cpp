#include "support/golden_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "diagnostics/diagnostic_list.h"
#include "session/import_session.h"

namespace zav::testing {

std::string RenderGolden(const std::vector<std::string>& modelTexts,
                         const std::vector<std::string>& diagnosticTexts) {
  std::string out;
  for (std::size_t i = 0; i < modelTexts.size(); ++i) {
    out += "==== model " + std::to_string(i + 1) + ": " + std::to_string(modelTexts[i].size()) + " bytes\n";
    out += modelTexts[i];
    out += '\n';
  }
  out += "==== diagnostics: " + std::to_string(diagnosticTexts.size()) + "\n";
  for (const std::string& text : diagnosticTexts) out += text;
  return out;
}

std::string ImportAndRender(const std::string& path) {
  TheDiagnosticList().Clear();
  std::vector<std::string> modelTexts;
  {
    ImportSession session;
    session.SetStyle(1);
    session.Import(path.c_str());
    for (ImportedModel* model : session.models()) modelTexts.push_back(model->ModelText());
  }
  std::vector<std::string> diagnosticTexts;
  TheDiagnosticList().ForEach([&](const Diagnostic& d) { diagnosticTexts.push_back(d.text); });
  TheDiagnosticList().Clear();
  return RenderGolden(modelTexts, diagnosticTexts);
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

int CheckGoldenFolder(const std::string& folder) {
  namespace fs = std::filesystem;
  const bool update = std::getenv("ZAV_UPDATE_GOLDEN") != nullptr;
  std::vector<fs::path> inputs;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string ext = entry.path().extension().string();
    if (ext != ".expected" && ext != ".md" && ext != ".cpp") inputs.push_back(entry.path());
  }
  std::sort(inputs.begin(), inputs.end());
  for (const fs::path& input : inputs) {
    fs::path expectedPath = input;
    expectedPath.replace_extension(".expected");
    const std::string actual = ImportAndRender(input.string());
    if (update) {
      std::ofstream(expectedPath, std::ios::binary) << actual;
      continue;
    }
    EXPECT_TRUE(fs::exists(expectedPath)) << "no .expected file for " << input;
    EXPECT_EQ(ReadFileBytes(expectedPath.string()), actual) << "golden case " << input.filename();
  }
  return static_cast<int>(inputs.size());
}

}  // namespace zav::testing
