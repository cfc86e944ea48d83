// zav-import --report DIR: a static HTML report of the run, written in
// addition to what the output mode writes. DIR/index.html lists every file
// with its counts; DIR/files/ holds a page per file (one per 50,000 lines of
// a longer file). Every page carries its style and script inline and loads
// nothing.
#pragma once

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "diagnostic_format.h"
#include "input_discovery.h"
#include "output_mode.h"
#include "report_index_page.h"
#include "summary.h"

namespace zav::cli {

class ReportWriter {
 public:
  // Creates the report's folders. False, with the reason in `error`, when
  // they cannot be made or a page could replace one of `inputs`.
  bool Open(const std::filesystem::path& directory, const std::vector<InputFile>& inputs, std::string& error);

  // Writes the page of a converted file.
  bool AddFile(const ConvertedFile& file, const std::vector<ParsedDiagnostic>& diagnostics, const FileStats& stats,
               std::string& error);
  // A file that could not be read: a row of the index without a page.
  void AddUnreadFile(const std::string& name, const std::string& problem);

  // Writes the index.
  bool Finish(std::string& error);

 private:
  std::filesystem::path directory_;
  std::set<std::filesystem::path> inputs_;  // weakly canonical
  std::vector<IndexEntry> entries_;
};

// The page name of the `position`th file of a run (from 1): the position,
// then the file's own name with anything but letters, digits, '.', '-' and
// '_' replaced: "0007-opamps.lib.html".
std::string ReportPageName(std::size_t position, const std::string& fileName);

// The page of the `part`th part (from 1) of a file too long for one page:
// the first keeps the file's page name, the next "0007-big.lib.part2.html".
std::string ReportPartName(const std::string& pageName, std::size_t part);

}  // namespace zav::cli
