// libFuzzer target: imports arbitrary bytes through the exports and asks for
// every model and diagnostic text, as a host would.
#include <cstddef>
#include <cstdint>
#include <cstdio>
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

void ReadAllDiagnostics() {
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
  } while (ZAV_GetErrorNext(nullptr, &diagnostic, &status));
}

// Imports the file through the exports and asks for every model and
// diagnostic text, as a host would.
void ImportAndReadEverything(const std::string& path) {
  int status = 0;
  ZAV_SESSION session = nullptr;
  if (!ZAV_PerformImport(path.c_str(), 0, &session, &status)) return;
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
      status = 0;
    } while (ZAV_GetModelNext(session, &model, &status));
  }
  status = 0;
  ReadAllDiagnostics();
  status = 0;
  ZAV_EndImport(session, &status);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The library keeps every diagnostic for the life of the process. Each input
  // starts from an empty list, so that an input's cost and result do not
  // depend on the inputs run before it.
  zav::TheDiagnosticList().Clear();
  static const InputFile input;
  const std::string& path = input.path;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);

  ImportAndReadEverything(path);
  // The same bytes translated for ngspice, which zav-import asks for (the
  // exports use the settings of the thread that calls them).
  zav::TheDiagnosticList().Clear();
  zav::ImportSettings ngspice;
  ngspice.target = zav::TranslationTarget::Ngspice;
  zav::ScopedImportSettings scope(ngspice);
  ImportAndReadEverything(path);
  return 0;
}
