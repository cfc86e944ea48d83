// A file's input lined up with its output by source line, for the report:
// every line the library read, beside the output that came from it. The
// library knows which line every token of the output came from; the output
// itself is the text zav-import writes, byte for byte.
#pragma once

#include <string>
#include <vector>

#include "zav.h"

namespace zav {
class ImportSession;
}

namespace zav::cli {

enum class RowChange {
  Same,       // the output holds the line exactly as read
  Changed,    // edited, or with lines added to it
  Commented,  // turned into a comment line as a whole
  Missing,    // nothing in the output came from it
};

struct ReportRow {
  int number = 0;      // the library's line number
  std::string input;   // the line as read (all its records), line feed included
  std::string output;  // the output that came from it, line feeds included
  // The output lines `output` starts and ends on, in the file's output; 0
  // without output.
  int firstOutputLine = 0;
  int lastOutputLine = 0;
  RowChange change = RowChange::Same;
};

struct ReportRows {
  std::vector<ReportRow> rows;  // rows[i].number == i + 1
  int outputLines = 0;
  // Set when a model's text could not be traced to its lines token by
  // token; its output then stands beside the line its statement starts on.
  bool approximate = false;
};

// Lines up the session's lines with the texts of `models` (the session's
// model list, in order, whose texts make up the file's output).
ReportRows AlignRows(const ImportSession& session, const std::vector<ZAV_MODEL>& models);

}  // namespace zav::cli
