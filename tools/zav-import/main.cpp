// zav-import: converts PSpice-dialect model files with the zav library.
#include <cstdio>
#include <exception>

#include "converter.h"
#include "options.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Model texts go out byte for byte, line ends included.
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  const zav::cli::ParsedCommandLine parsed = zav::cli::ParseCommandLine(argc, argv, stdout, stderr);
  if (!parsed.run) return parsed.exitCode;
  try {
    return zav::cli::RunConversion(parsed.options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zav-import: %s\n", error.what());
    return 2;
  }
}
