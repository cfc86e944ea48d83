// Facts about an import that the library's exports do not hand out: read
// from the session objects behind the handles (zav-import links the library
// in-process).
#pragma once

#include <string>

namespace zav {
class ImportedModel;
class ImportSession;
struct SourceLine;
}  // namespace zav

namespace zav::cli {

struct ModelFacts {
  std::string name;
  // The model type as written in the file, or "subckt".
  std::string kind;
  int line = 0;  // where the statement starts
  bool subcircuit = false;
};

ModelFacts DescribeModel(const ImportedModel& model);

// A statement line (not a continuation or stray line) of a card that the
// import could not use: rewritten as "* " and the line as read.
bool IsConvertedStatementLine(const SourceLine& line);

}  // namespace zav::cli
