#include "diagnostic_format.h"

#include <nlohmann/json.hpp>

#include "diagnostics/add_diagnostic.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/message_catalogue.h"
#include "platform/ascii.h"

namespace zav::cli {
namespace {

constexpr std::string_view kLineHeader = "Line ";
constexpr std::string_view kQuoteStart = "\n\t";

// The severity prefixes of the library's texts.
constexpr std::string_view kPrefixes[] = {"info -- ", "warning -- ", "error -- "};

// The escape sequences compilers colour their diagnostics with.
constexpr std::string_view kBold = "\033[1m";
constexpr std::string_view kReset = "\033[0m";

std::string_view SeverityColor(DiagnosticSeverity severity) {
  switch (severity) {
    case DiagnosticSeverity::Info:
      return "\033[1;36m";
    case DiagnosticSeverity::Warning:
      return "\033[1;35m";
    case DiagnosticSeverity::Error:
      break;
  }
  return "\033[1;31m";
}

}  // namespace

DiagnosticSeverity SeverityOf(Severity severity) {
  switch (severity) {
    case Severity::Info:
      return DiagnosticSeverity::Info;
    case Severity::Warning:
      return DiagnosticSeverity::Warning;
    default:
      return DiagnosticSeverity::Error;
  }
}

const char* SeverityName(DiagnosticSeverity severity) {
  switch (severity) {
    case DiagnosticSeverity::Info:
      return "info";
    case DiagnosticSeverity::Warning:
      return "warning";
    case DiagnosticSeverity::Error:
      break;
  }
  return "error";
}

ParsedDiagnostic ParseDiagnostic(const Diagnostic& diagnostic) {
  ParsedDiagnostic parsed;
  parsed.line = diagnostic.lineNumber;
  parsed.severity = SeverityOf(diagnostic.severity);
  parsed.code = static_cast<int>(diagnostic.code);
  parsed.native = diagnostic.text;

  std::string_view rest = diagnostic.text;
  // The header quotes the line as read: "Line N:\n\t<line>\n". The quoted
  // line never holds a line feed of its own, so the first one after the tab
  // ends the header.
  if (rest.substr(0, kLineHeader.size()) == kLineHeader) {
    const std::size_t quote = rest.find(kQuoteStart);
    const std::size_t end = quote == std::string_view::npos ? quote : rest.find('\n', quote + kQuoteStart.size());
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
  }
  for (std::string_view prefix : kPrefixes) {
    if (rest.substr(0, prefix.size()) == prefix) {
      rest.remove_prefix(prefix.size());
      break;
    }
  }
  if (rest.size() >= 2 && rest.substr(rest.size() - 2) == ".\n") rest.remove_suffix(2);
  parsed.message = std::string(rest);
  return parsed;
}

std::string FormatTextDiagnostic(const std::string& file, const ParsedDiagnostic& diagnostic, bool color) {
  std::string out = color ? std::string(kBold) : std::string();
  out += file;
  if (diagnostic.line > 0) {
    out += ':';
    out += std::to_string(diagnostic.line);
  }
  out += ':';
  if (color) out += kReset;
  out += ' ';
  if (color) out += SeverityColor(diagnostic.severity);
  out += SeverityName(diagnostic.severity);
  out += ':';
  if (color) out += kReset;
  out += ' ';
  const std::string& message = diagnostic.message;
  for (std::size_t i = 0; i < message.size(); ++i) {
    const char c = message[i];
    if (c != '\n' && c != '\r') {
      out += c;
      continue;
    }
    while (!out.empty() && (out.back() == ' ' || out.back() == '\t')) out.pop_back();
    while (i + 1 < message.size() && IsAsciiSpace(message[i + 1])) ++i;
    out += ' ';
  }
  out += '\n';
  return out;
}

std::string FormatJsonDiagnostic(const std::string& file, const ParsedDiagnostic& diagnostic) {
  nlohmann::ordered_json object;
  object["file"] = file;
  object["line"] = diagnostic.line > 0 ? nlohmann::ordered_json(diagnostic.line) : nlohmann::ordered_json(nullptr);
  object["model"] = diagnostic.model.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(diagnostic.model);
  object["severity"] = SeverityName(diagnostic.severity);
  object["code"] = diagnostic.code >= 0 ? nlohmann::ordered_json(diagnostic.code) : nlohmann::ordered_json(nullptr);
  object["message"] = diagnostic.message;
  // Model files are 8-bit text of no declared encoding: bytes that are not
  // UTF-8 become U+FFFD rather than failing the whole report.
  return object.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace zav::cli
