#include "summary.h"

#include <algorithm>
#include <array>
#include <string>

#include "model_completeness.h"

namespace zav::cli {
namespace {

// The message that reports a parameter added to an instance.
constexpr int kParameterMovedCode = 27;

struct Column {
  const char* heading;
  int FileStats::*field;
};

constexpr std::array<Column, 10> kColumns = {{
    {"models", &FileStats::models},
    {"subckts", &FileStats::subcircuits},
    {"cards-commented", &FileStats::cardsCommented},
    {"info", &FileStats::infos},
    {"warnings", &FileStats::warnings},
    {"errors", &FileStats::errors},
    {"renamed", &FileStats::renamed},
    {"moved", &FileStats::moved},
    {"params-commented", &FileStats::paramsCommented},
    {"partial", &FileStats::partial},
}};

int ColumnWidth(const Column& column) { return std::max(6, static_cast<int>(std::char_traits<char>::length(column.heading))); }

void PrintRow(std::FILE* out, int nameWidth, const std::string& name, const FileStats& stats, bool read) {
  std::fprintf(out, "%-*s", nameWidth, name.c_str());
  if (!read) {
    std::fputs("  (not read)\n", out);
    return;
  }
  for (const Column& column : kColumns) std::fprintf(out, "  %*d", ColumnWidth(column), stats.*column.field);
  std::fputc('\n', out);
}

}  // namespace

void FileStats::Add(const FileStats& other) {
  for (const Column& column : kColumns) this->*column.field += other.*column.field;
}

void FileStats::Count(DiagnosticSeverity severity, int code) {
  switch (severity) {
    case DiagnosticSeverity::Info:
      ++infos;
      break;
    case DiagnosticSeverity::Warning:
      ++warnings;
      break;
    case DiagnosticSeverity::Error:
      ++errors;
      break;
  }
  if (code == kParameterMovedCode) ++moved;
  if (ReportsParameterCommentedOut(code)) ++paramsCommented;
}

void PrintSummary(std::FILE* out, const std::vector<FileSummary>& files, const FileStats& total) {
  const std::string totalName = "total (" + std::to_string(files.size()) + (files.size() == 1 ? " file)" : " files)");
  int nameWidth = static_cast<int>(totalName.size());
  for (const FileSummary& file : files) nameWidth = std::max(nameWidth, static_cast<int>(file.file.size()));

  std::fprintf(out, "%-*s", nameWidth, "file");
  for (const Column& column : kColumns) std::fprintf(out, "  %*s", ColumnWidth(column), column.heading);
  std::fputc('\n', out);
  for (const FileSummary& file : files) PrintRow(out, nameWidth, file.file, file.stats, file.read);
  PrintRow(out, nameWidth, totalName, total, true);
}

}  // namespace zav::cli
