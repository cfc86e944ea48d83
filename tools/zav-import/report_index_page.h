// The report's index: every file with its counts, in a table sortable by
// any column, each file linking to its page.
#pragma once

#include <string>
#include <vector>

#include "report_counts.h"

namespace zav::cli {

struct IndexEntry {
  std::string name;     // the file as zav-import names it
  std::string href;     // its page, relative to the index; empty when not read
  std::string problem;  // why it was not read
  ReportCounts counts;
};

std::string RenderIndexPage(const std::vector<IndexEntry>& files);

}  // namespace zav::cli
