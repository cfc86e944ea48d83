#include "input_discovery.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <system_error>

#include "platform/ascii.h"

namespace zav::cli {
namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 9> kModelFileExtensions = {
    ".lib", ".mod", ".cir", ".sub", ".inc", ".txt", ".ckt", ".spi", ".lb",
};

bool SameDirectory(const fs::path& a, const fs::path& b) {
  if (b.empty()) return false;
  std::error_code error;
  return fs::equivalent(a, b, error) && !error;
}

// The name an input keeps at the top of an output directory: "." or a path
// ending in a separator still needs one.
fs::path TopLevelName(const fs::path& input) {
  fs::path name = input.filename();
  if (name.empty() || name == "." || name == "..") {
    std::error_code error;
    fs::path absolute = fs::weakly_canonical(fs::absolute(input, error), error);
    name = absolute.filename();
  }
  return name;
}

void SearchDirectory(const fs::path& root, const fs::path& prefix, const fs::path& skipDirectory,
                     Discovery& discovery) {
  std::vector<InputFile> found;
  std::error_code error;
  // Symbolic links to directories are not followed, so a link back up the
  // tree cannot make the walk endless.
  fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, error);
  if (error) {
    discovery.problems.push_back({root.string(), error.message()});
    return;
  }
  for (const fs::recursive_directory_iterator end; it != end; it.increment(error)) {
    if (error) {
      discovery.problems.push_back({root.string(), error.message()});
      break;
    }
    const fs::directory_entry& entry = *it;
    std::error_code statusError;
    if (entry.is_directory(statusError)) {
      if (SameDirectory(entry.path(), skipDirectory)) it.disable_recursion_pending();
      continue;
    }
    if (!entry.is_regular_file(statusError) || !HasModelFileExtension(entry.path())) continue;
    InputFile file;
    file.path = entry.path();
    file.relative = prefix / entry.path().lexically_relative(root);
    file.size = entry.file_size(statusError);
    found.push_back(std::move(file));
  }
  std::sort(found.begin(), found.end(),
            [](const InputFile& a, const InputFile& b) { return a.relative.generic_string() < b.relative.generic_string(); });
  for (InputFile& file : found) discovery.files.push_back(std::move(file));
}

}  // namespace

bool HasModelFileExtension(const fs::path& path) {
  const std::string extension = path.extension().string();
  return std::any_of(kModelFileExtensions.begin(), kModelFileExtensions.end(),
                     [&](std::string_view known) { return EqualsNoCase(extension, known); });
}

Discovery DiscoverInputs(const std::vector<std::string>& inputs, bool recursive, const fs::path& skipDirectory) {
  Discovery discovery;
  const bool loneInput = inputs.size() == 1;
  for (const std::string& input : inputs) {
    const fs::path path(input);
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status)) {
      discovery.problems.push_back({input, error ? error.message() : "No such file or directory"});
      continue;
    }
    if (fs::is_directory(status)) {
      discovery.anyDirectory = true;
      if (!recursive) {
        discovery.problems.push_back({input, "is a directory (use -r to convert the model files in it)"});
        continue;
      }
      SearchDirectory(path, loneInput ? fs::path() : TopLevelName(path), skipDirectory, discovery);
      continue;
    }
    InputFile file;
    file.path = path;
    file.relative = TopLevelName(path);
    file.size = fs::is_regular_file(status) ? fs::file_size(path, error) : 0;
    discovery.files.push_back(std::move(file));
  }
  return discovery;
}

}  // namespace zav::cli
