// Finding the model files to convert.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zav::cli {

struct InputFile {
  std::filesystem::path path;
  // Where the file's output goes below an output directory.
  std::filesystem::path relative;
  std::uintmax_t size = 0;
};

struct InputProblem {
  std::string path;
  std::string reason;
};

struct Discovery {
  std::vector<InputFile> files;
  std::vector<InputProblem> problems;
  // True when an input was a directory (so -o names a directory).
  bool anyDirectory = false;
};

// True for the extensions of model files searched for by -r, in any case.
bool HasModelFileExtension(const std::filesystem::path& path);

// Expands the command-line inputs: files stand for themselves whatever their
// extension; directories (with `recursive`) for the model files below them,
// in sorted order. Output paths mirror the tree: a lone directory's files sit
// at their path within it, otherwise every input keeps its own name at the
// top. Directories equivalent to `skipDirectory` (an output directory inside
// the tree) are not searched.
Discovery DiscoverInputs(const std::vector<std::string>& inputs, bool recursive,
                         const std::filesystem::path& skipDirectory);

}  // namespace zav::cli
