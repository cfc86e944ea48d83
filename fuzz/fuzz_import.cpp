// libFuzzer target: imports arbitrary bytes through the exports and asks for
// every model and diagnostic text, as a host would. Each input is imported
// twice per target: as a host's import runs (model cards translated as soon
// as they are classified where they can be), and with every card taken
// through the steps in turn (as an import that keeps edited cards' tokens
// runs). The texts and diagnostics must be the same; a difference stops the
// fuzzer.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <unistd.h>

#include "diagnostics/diagnostic_list.h"
#include "session/import_settings.h"
#include "zav.h"

namespace {

// The file each input is written to, removed when the fuzzer exits.
struct InputFile {
  std::string path = "/tmp/zav-fuzz-" + std::to_string(getpid()) + ".lib";
  ~InputFile() { std::remove(path.c_str()); }
};

// Every text the host read, models' and diagnostics', in order.
using Texts = std::vector<std::string>;

void ReadAllDiagnostics(Texts& texts) {
  int status = 0;
  ZAV_DIAGNOSTIC diagnostic = nullptr;
  if (!ZAV_GetErrorFirst(nullptr, &diagnostic, &status)) return;
  std::vector<char> buffer;
  do {
    unsigned size = 4;
    int length = 0;
    if (!ZAV_GetErrorInfo(diagnostic, ZAV_INFO_LENGTH, &length, &size, &status)) return;
    buffer.resize(static_cast<std::size_t>(length) + 1);
    size = static_cast<unsigned>(buffer.size());
    if (!ZAV_GetErrorInfo(diagnostic, ZAV_INFO_TEXT, buffer.data(), &size, &status)) return;
    texts.emplace_back(buffer.data());
  } while (ZAV_GetErrorNext(nullptr, &diagnostic, &status));
}

// Imports the file through the exports and asks for every model and
// diagnostic text, as a host would.
Texts ImportAndReadEverything(const std::string& path) {
  Texts texts;
  zav::TheDiagnosticList().Clear();
  int status = 0;
  ZAV_SESSION session = nullptr;
  if (!ZAV_PerformImport(path.c_str(), 0, &session, &status)) return texts;
  ZAV_MODEL model = nullptr;
  std::vector<char> buffer;
  if (ZAV_GetModelFirst(session, &model, &status)) {
    do {
      unsigned length = 0;
      unsigned query = 0;
      // A deliberately short buffer first: the call must report the length.
      if (!ZAV_GetModelInfo(model, ZAV_INFO_TEXT, nullptr, &query, &status) && status == ZAV_STATUS_BAD_SIZE) {
        status = 0;
        length = query;
      }
      buffer.resize(length + 1);
      unsigned full = length + 1;
      ZAV_GetModelInfo(model, ZAV_INFO_TEXT, buffer.data(), &full, &status);
      texts.emplace_back(buffer.data(), length);
      status = 0;
    } while (ZAV_GetModelNext(session, &model, &status));
  }
  status = 0;
  ReadAllDiagnostics(texts);
  status = 0;
  ZAV_EndImport(session, &status);
  return texts;
}

// The same import with every card taken through the steps in turn.
void ImportBothWays(const std::string& path, zav::ImportSettings settings) {
  const Texts texts = [&] {
    zav::ScopedImportSettings scope(settings);
    return ImportAndReadEverything(path);
  }();
  settings.keepEditedTokens = true;
  zav::ScopedImportSettings scope(settings);
  if (ImportAndReadEverything(path) != texts) {
    std::fprintf(stderr, "the import gives other texts when every card goes through the steps in turn\n");
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The library keeps every diagnostic for the life of the process; each
  // import starts from an empty list, so that an input's cost and result do
  // not depend on the inputs run before it.
  static const InputFile input;
  const std::string& path = input.path;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  ImportBothWays(path, zav::ImportSettings());
  // The same bytes translated for ngspice, which zav-import asks for (the
  // exports use the settings of the thread that calls them).
  zav::ImportSettings ngspice;
  ngspice.target = zav::TranslationTarget::Ngspice;
  ImportBothWays(path, ngspice);
  return 0;
}
