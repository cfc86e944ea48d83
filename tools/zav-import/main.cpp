// zav-import: converts PSpice-dialect model files with the zav library.
#include <cstdio>
#include <exception>

#include "converter.h"
#include "options.h"
#include "progress.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Model texts go out byte for byte, line ends included.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  const zav::cli::ParsedCommandLine parsed =
      zav::cli::ParseCommandLine(argc, argv, stdout, stderr, zav::cli::IsTerminal(stdin));
  if (!parsed.run) return parsed.exitCode;
#ifdef __GLIBC__
  // Each file's import frees its memory at once when the file is written,
  // and the next import needs as much again: kept, rather than given back
  // to the system, it need not be faulted in and cleared once more (with
  // -j, each thread's heap would give it back at every file).
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
#endif
  try {
    return zav::cli::RunConversion(parsed.options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zav-import: %s\n", error.what());
    return 2;
  } catch (...) {
    // Caught so that the stack unwinds: a temporary copy of standard input
    // is removed on the way.
    std::fputs("zav-import: unexpected failure\n", stderr);
    return 2;
  }
}
