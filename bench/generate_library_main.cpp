// zav-generate-library SIZE_MB OUTPUT [--crlf] [--seed N]
// Writes a synthetic model library of about SIZE_MB megabytes.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "generate_library.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s SIZE_MB OUTPUT [--crlf] [--seed N]\n", argv[0]);
    return 2;
  }
  zav::bench::LibraryOptions options;
  options.targetBytes = static_cast<std::size_t>(std::strtod(argv[1], nullptr) * 1e6);
  for (int i = 3; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--crlf") {
      options.crlf = true;
    } else if (arg == "--seed" && i + 1 < argc) {
      options.seed = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
    } else {
      std::fprintf(stderr, "unknown argument: %s\n", arg.c_str());
      return 2;
    }
  }
  if (!zav::bench::WriteLibrary(argv[2], options)) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
