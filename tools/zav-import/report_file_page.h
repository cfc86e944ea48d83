// The report's page of one file: input and output side by side by source
// line, each diagnostic under its line, the models down the side, filters.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "diagnostic_format.h"
#include "model_completeness.h"
#include "report_counts.h"
#include "report_rows.h"

namespace zav::cli {

// A page of a file too long for one: the lines it shows, and how many
// errors and warnings are about them (the pager of every part says so).
struct PagePart {
  std::string href;  // the page's file name; the parts stand side by side
  std::size_t firstRow = 0;
  std::size_t endRow = 0;  // one past the last row
  int errors = 0;
  int warnings = 0;
};

struct FilePage {
  std::string_view name;       // the file as zav-import names it
  std::string_view indexHref;  // the index page, relative to this one
  const ReportRows* rows = nullptr;
  const std::vector<ParsedDiagnostic>* diagnostics = nullptr;
  const ModelLineMap* models = nullptr;
  const std::vector<ModelCompleteness>* completeness = nullptr;  // one per model
  ReportCounts counts;
  // The parts the file is shown in, and the one this page shows; no parts:
  // the whole file on one page.
  std::vector<PagePart> parts;
  std::size_t part = 0;
};

// Source lines per block of the page; the browser lays out only the blocks
// in view.
inline constexpr std::size_t kRowsPerBlock = 200;

// Source lines on one page at most. A page holds about 130 bytes per line;
// beyond this the browser would take seconds to open it.
inline constexpr std::size_t kRowsPerPart = 50000;

// The parts of a file of `rows` lines, hrefs left empty; none when it fits
// on one page.
std::vector<PagePart> PlanParts(std::size_t rows, const std::vector<ParsedDiagnostic>& diagnostics);

std::string RenderFilePage(const FilePage& page);

}  // namespace zav::cli
