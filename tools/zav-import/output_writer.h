// Where translated models go, and writing them safely.
#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "input_discovery.h"

namespace zav::cli {

struct OutputPlan {
  // One output path per input file, in the order of the inputs; empty when
  // the models go to standard output.
  std::vector<std::filesystem::path> paths;
  // Set when the plan cannot be carried out; nothing has been written then.
  std::string problem;
};

// Maps every input file to its output. `output` empty: standard output.
// `directoryMode`: `output` is a directory mirroring the inputs' tree (several
// inputs, a directory input, or an existing directory); otherwise it is the
// one output file. Refuses two inputs writing one file and any output that is
// one of the inputs, whatever path leads to it.
OutputPlan PlanOutputs(const std::vector<InputFile>& inputs, const std::string& output, bool directoryMode);

// Writes the content `write` puts into the file it is given (false when a
// write failed) to a temporary file beside `path`, and renames it into place
// once complete, creating missing directories. On failure nothing is left
// behind and `error` says why. A `path` that is a device or a pipe is written
// into directly.
using ContentWriter = std::function<bool(std::FILE* file)>;
bool WriteFileAtomically(const std::filesystem::path& path, const ContentWriter& write, std::string& error);
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view content, std::string& error);

}  // namespace zav::cli
