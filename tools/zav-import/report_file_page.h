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

struct FilePage {
  std::string_view name;       // the file as zav-import names it
  std::string_view indexHref;  // the index page, relative to this one
  const ReportRows* rows = nullptr;
  const std::vector<ParsedDiagnostic>* diagnostics = nullptr;
  const ModelLineMap* models = nullptr;
  const std::vector<ModelCompleteness>* completeness = nullptr;  // one per model
  ReportCounts counts;
};

// Source lines per block of the page; the browser lays out only the blocks
// in view.
inline constexpr std::size_t kRowsPerBlock = 200;

std::string RenderFilePage(const FilePage& page);

}  // namespace zav::cli
