#pragma once

#include <string>
#include <vector>

namespace zav::testing {

// Renders models and diagnostics of one import in the .expected format of
// tests/golden/README.md.
std::string RenderGolden(const std::vector<std::string>& modelTexts, const std::vector<std::string>& diagnosticTexts);

// Imports `path` through an ImportSession on an emptied diagnostic list and
// renders the result.
std::string ImportAndRender(const std::string& path);

std::string ReadFileBytes(const std::string& path);

// Imports every case of a golden folder (inputs beside their .expected
// files; .md and .cpp files are not inputs) and expects each rendering to
// equal its .expected file byte for byte. With ZAV_UPDATE_GOLDEN set, writes
// the renderings instead. The number of cases.
int CheckGoldenFolder(const std::string& folder);

}  // namespace zav::testing
