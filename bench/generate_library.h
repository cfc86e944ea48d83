// Synthetic model libraries for benchmarks: large, deterministic inputs that
// look like vendor libraries and take every translation path: pages of
// discrete models of every type (AKO chains, vendor tags, parameters that are
// renamed, moved or commented out, LPNP, level-7 MOSFETs, switches),
// macromodels whose elements use models that follow them, brace expressions,
// power devices with passive models whose TC moves to the instances, comment
// banners and inline comments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace zav::bench {

struct LibraryOptions {
  std::size_t targetBytes = 5u << 20;  // the text stops at the first card past this size
  uint32_t seed = 1;
  bool crlf = false;                   // CR LF line ends, as many vendor files have
};

// A library of roughly `targetBytes` bytes. Every element in a subcircuit
// names a model or subcircuit defined in the file, so that a full import finds
// what it links, and every model type the importer translates occurs.
std::string GenerateLibrary(const LibraryOptions& options);

// Writes GenerateLibrary(options) to `path`; false when the file cannot be
// written.
bool WriteLibrary(const std::string& path, const LibraryOptions& options);

}  // namespace zav::bench
