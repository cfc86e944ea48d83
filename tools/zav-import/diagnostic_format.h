// Diagnostics of an import, taken apart and written in the three formats.
#pragma once

#include <string>
#include <string_view>

#include "diagnostics/severity.h"

namespace zav {
struct Diagnostic;
}

namespace zav::cli {

enum class DiagnosticSeverity { Info, Warning, Error };

const char* SeverityName(DiagnosticSeverity severity);

// The severity a library severity prints as (a file error as an error).
DiagnosticSeverity SeverityOf(Severity severity);

struct ParsedDiagnostic {
  int line = 0;  // 0: about no particular line
  DiagnosticSeverity severity = DiagnosticSeverity::Error;
  int code = -1;  // the message's number
  // The message without the quoted-line header, the severity prefix and the
  // closing ".\n"; line feeds inside it kept.
  std::string message;
  std::string native;  // the library's text, exactly
  // The model (of the import's model list) whose lines hold the diagnostic's
  // line; empty for none.
  std::string model;
};

// A filed diagnostic taken apart: its line, code and severity as the library
// recorded them, and its message without header, prefix and closing ".\n".
ParsedDiagnostic ParseDiagnostic(const Diagnostic& diagnostic);

// "FILE:LINE: severity: message\n" (or "FILE: severity: message\n" without a
// line), the message's line feeds and the blanks around them folded into one
// space. With `color`, as compilers colour theirs: the location bold, the
// severity bold red, magenta or cyan.
std::string FormatTextDiagnostic(const std::string& file, const ParsedDiagnostic& diagnostic, bool color = false);

// One JSON object and a line feed: file, line, model, severity, code, message.
std::string FormatJsonDiagnostic(const std::string& file, const ParsedDiagnostic& diagnostic);

}  // namespace zav::cli
