#include "report_writer.h"

#include <algorithm>
#include <system_error>

#include "output_writer.h"
#include "platform/ascii.h"
#include "report_file_page.h"
#include "report_rows.h"

namespace zav::cli {
namespace fs = std::filesystem;
namespace {

constexpr const char* kPagesFolder = "files";
constexpr std::size_t kMaxNameInPage = 80;

bool IsPlainNameCharacter(char c) { return IsAsciiAlpha(c) || IsAsciiDigit(c) || c == '.' || c == '-' || c == '_'; }

fs::path Canonical(const fs::path& path) {
  std::error_code error;
  fs::path canonical = fs::weakly_canonical(path, error);
  return error ? fs::absolute(path, error).lexically_normal() : canonical;
}

}  // namespace

std::string ReportPageName(std::size_t position, const std::string& fileName) {
  std::string number = std::to_string(position);
  if (number.size() < 4) number.insert(0, 4 - number.size(), '0');
  const std::size_t slash = fileName.find_last_of("/\\");
  std::string name = slash == std::string::npos ? fileName : fileName.substr(slash + 1);
  for (char& c : name) {
    if (!IsPlainNameCharacter(c)) c = '_';
  }
  // Dots and '_' at the start go, so that no part of a page name looks
  // hidden; the length keeps it within what file systems take.
  const std::size_t first = name.find_first_not_of("._");
  name = first == std::string::npos ? std::string() : name.substr(first, kMaxNameInPage);
  return number + "-" + (name.empty() ? "file" : name) + ".html";
}

std::string ReportPartName(const std::string& pageName, std::size_t part) {
  if (part <= 1) return pageName;
  const std::size_t dot = pageName.rfind(".html");
  return pageName.substr(0, dot) + ".part" + std::to_string(part) + ".html";
}

bool ReportWriter::Open(const fs::path& directory, const std::vector<InputFile>& inputs, std::string& error) {
  directory_ = directory;
  std::error_code problem;
  fs::create_directories(directory_ / kPagesFolder, problem);
  if (problem || !fs::is_directory(directory_ / kPagesFolder)) {
    error = "cannot make the report folder " + (directory_ / kPagesFolder).string() + ": " +
            (problem ? problem.message() : "it is not a folder");
    return false;
  }
  for (const InputFile& input : inputs) inputs_.insert(Canonical(input.path));
  for (std::size_t i = 0; i < inputs.size(); ++i) {
    const fs::path page = directory_ / kPagesFolder / ReportPageName(i + 1, inputs[i].name);
    for (const fs::path& written : {page, directory_ / "index.html"}) {
      if (inputs_.count(Canonical(written)) != 0) {
        error = "--report: the report page " + written.string() + " would replace an input";
        return false;
      }
    }
  }
  return true;
}

bool ReportWriter::AddFile(const ConvertedFile& file, const std::vector<ParsedDiagnostic>& diagnostics,
                           const FileStats& stats, std::string& error) {
  IndexEntry entry;
  entry.name = file.name;
  const std::string pageName = ReportPageName(entries_.size() + 1, file.name);
  entry.href = std::string(kPagesFolder) + "/" + pageName;

  const ReportRows rows = AlignRows(file.import->Session(), file.models);
  entry.counts.lines = static_cast<int>(rows.rows.size());
  entry.counts.outputLines = rows.outputLines;
  entry.counts.stats = stats;

  FilePage page;
  page.name = file.name;
  page.indexHref = "../index.html";
  page.rows = &rows;
  page.diagnostics = &diagnostics;
  page.models = file.lineMap;
  page.completeness = file.completeness;
  page.counts = entry.counts;
  page.parts = PlanParts(rows.rows.size(), diagnostics);
  for (std::size_t i = 0; i < page.parts.size(); ++i) page.parts[i].href = ReportPartName(pageName, i + 1);
  entries_.push_back(std::move(entry));

  for (std::size_t part = 0; part < std::max<std::size_t>(page.parts.size(), 1); ++part) {
    page.part = part;
    const fs::path path = directory_ / kPagesFolder / ReportPartName(pageName, part + 1);
    if (inputs_.count(Canonical(path)) != 0) {
      error = "--report: the report page " + path.string() + " would replace an input";
      return false;
    }
    if (!WriteFileAtomically(path, RenderFilePage(page), error)) return false;
  }
  return true;
}

void ReportWriter::AddUnreadFile(const std::string& name, const std::string& problem) {
  IndexEntry entry;
  entry.name = name;
  entry.problem = problem;
  entries_.push_back(std::move(entry));
}

bool ReportWriter::Finish(std::string& error) {
  return WriteFileAtomically(directory_ / "index.html", RenderIndexPage(entries_), error);
}

}  // namespace zav::cli
