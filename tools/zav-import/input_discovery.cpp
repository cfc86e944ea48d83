#include "input_discovery.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>
#include <system_error>

#include "platform/ascii.h"

namespace zav::cli {
namespace fs = std::filesystem;

namespace {

// Vendors name model files freely; these are the names met in their trees.
constexpr std::array<std::string_view, 15> kModelFileExtensions = {
    ".lib", ".mod", ".cir", ".sub", ".inc", ".txt", ".ckt", ".spi",
    ".lb",  ".fam", ".phy", ".mdl", ".sp",  ".sp3", ".net",
};

constexpr std::array<std::string_view, 2> kCardKeywords = {".MODEL", ".SUBCKT"};

// "fam" and ".fam" name the same extension.
bool SameExtension(std::string_view extension, std::string_view known) {
  if (!known.empty() && known.front() != '.') extension.remove_prefix(1);
  return EqualsNoCase(extension, known);
}

// The extension of `path` as written when it is a known one or one of
// `extra`; empty otherwise.
std::string MatchingExtension(const fs::path& path, const std::vector<std::string>& extra) {
  const std::string extension = path.extension().string();
  if (extension.size() < 2) return std::string();
  const auto matches = [&](std::string_view known) { return SameExtension(extension, known); };
  if (std::any_of(kModelFileExtensions.begin(), kModelFileExtensions.end(), matches) ||
      std::any_of(extra.begin(), extra.end(), matches)) {
    return extension;
  }
  return std::string();
}

// Why -r takes a file it met in a directory; empty when it does not.
std::string ReasonToTake(const fs::path& path, const std::vector<std::string>& extra) {
  const std::string extension = MatchingExtension(path, extra);
  if (!extension.empty()) return "extension " + extension;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::string();
  std::string head(kSniffBytes, '\0');
  in.read(head.data(), static_cast<std::streamsize>(head.size()));
  head.resize(static_cast<std::size_t>(in.gcount()));
  const ModelCardSighting card = FindModelCard(head);
  if (card.line == 0) return std::string();
  return "content: " + std::string(card.keyword) + " card on line " + std::to_string(card.line);
}

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
                     const std::vector<std::string>& extraExtensions, Discovery& discovery) {
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
    if (!entry.is_regular_file(statusError)) continue;
    std::string reason = ReasonToTake(entry.path(), extraExtensions);
    if (reason.empty()) continue;
    InputFile file;
    file.path = entry.path();
    file.name = file.path.string();
    file.relative = prefix / entry.path().lexically_relative(root);
    file.size = entry.file_size(statusError);
    file.reason = std::move(reason);
    found.push_back(std::move(file));
  }
  std::sort(found.begin(), found.end(),
            [](const InputFile& a, const InputFile& b) { return a.relative.generic_string() < b.relative.generic_string(); });
  for (InputFile& file : found) discovery.files.push_back(std::move(file));
}

}  // namespace

const std::vector<std::string>& KnownModelFileExtensions() {
  static const std::vector<std::string> extensions(kModelFileExtensions.begin(), kModelFileExtensions.end());
  return extensions;
}

bool HasModelFileExtension(const fs::path& path, const std::vector<std::string>& extra) {
  return !MatchingExtension(path, extra).empty();
}

ModelCardSighting FindModelCard(std::string_view head) {
  // A NUL byte says binary, whatever text surrounds it.
  if (head.find('\0') != std::string_view::npos) return {};
  int line = 1;
  for (std::size_t at = 0; at < head.size(); ++line) {
    std::size_t end = head.find('\n', at);
    if (end == std::string_view::npos) end = head.size();
    std::string_view text = head.substr(at, end - at);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    for (std::string_view keyword : kCardKeywords) {
      if (!StartsWithNoCase(text, keyword)) continue;
      // The keyword must end there: ".MODELS" is something else.
      if (text.size() == keyword.size() || IsAsciiSpace(text[keyword.size()])) return {line, keyword};
    }
    at = end + 1;
  }
  return {};
}

Discovery DiscoverInputs(const std::vector<std::string>& inputs, bool recursive, const fs::path& skipDirectory,
                         const std::vector<std::string>& extraExtensions) {
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
      SearchDirectory(path, loneInput ? fs::path() : TopLevelName(path), skipDirectory, extraExtensions, discovery);
      continue;
    }
    InputFile file;
    file.path = path;
    file.name = input;
    file.relative = TopLevelName(path);
    file.size = fs::is_regular_file(status) ? fs::file_size(path, error) : 0;
    file.reason = "named on the command line";
    discovery.files.push_back(std::move(file));
  }
  return discovery;
}

}  // namespace zav::cli
