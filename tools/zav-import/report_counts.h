// The counts the report shows for a file and in total: the --summary counts
// and the file's lines.
#pragma once

#include <span>
#include <string_view>

#include "summary.h"

namespace zav::cli {

struct ReportCounts {
  int lines = 0;        // as the library numbers them
  int outputLines = 0;  // of the translated text
  FileStats stats;

  void Add(const ReportCounts& other);
};

struct ReportCountColumn {
  std::string_view label;
  std::string_view heading;  // the index's column heading
  // The severity whose colour a count other than 0 takes: "e", "w", "i", or
  // empty.
  std::string_view tone;
  int (*value)(const ReportCounts&);
};

// In the order the pages show them.
std::span<const ReportCountColumn> ReportCountColumns();

}  // namespace zav::cli
