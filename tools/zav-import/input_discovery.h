// Finding the model files to convert.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zav::cli {

struct InputFile {
  std::filesystem::path path;
  // How diagnostics and listings name the file: the path as given or found.
  std::string name;
  // Where the file's output goes below an output directory.
  std::filesystem::path relative;
  std::uintmax_t size = 0;
  // Why the file is an input: "named on the command line", "extension .FAM",
  // "content: .SUBCKT card on line 12".
  std::string reason;
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

// The extensions of model files searched for by -r, in any letter case.
const std::vector<std::string>& KnownModelFileExtensions();

// True for a known extension or one of `extra` (".fam" or "fam"), in any
// letter case.
bool HasModelFileExtension(const std::filesystem::path& path, const std::vector<std::string>& extra = {});

// How many bytes at the start of a file the content test reads.
constexpr std::size_t kSniffBytes = 8192;

struct ModelCardSighting {
  int line = 0;  // 0: none
  std::string_view keyword;  // ".MODEL" or ".SUBCKT"
};

// The content test for a file of any other name: `head` (the file's first
// bytes) holds no NUL byte and a .MODEL or .SUBCKT card at the start of a
// line (after blanks), in any letter case. The first such card.
ModelCardSighting FindModelCard(std::string_view head);

// Expands the command-line inputs: files stand for themselves whatever their
// extension; directories (with `recursive`) for the model files below them
// (by extension, known or in `extraExtensions`, or by content), in sorted
// order. Output paths mirror the tree: a lone directory's files sit
// at their path within it, otherwise every input keeps its own name at the
// top. Directories equivalent to `skipDirectory` (an output directory inside
// the tree) are not searched.
Discovery DiscoverInputs(const std::vector<std::string>& inputs, bool recursive,
                         const std::filesystem::path& skipDirectory,
                         const std::vector<std::string>& extraExtensions = {});

}  // namespace zav::cli
