// Taking the library's diagnostic texts apart for the text and JSON formats.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "diagnostic_format.h"
#include "diagnostics/add_diagnostic.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/message_catalogue.h"
#include "text/source_line.h"

namespace zav::cli {
namespace {

SourceLine MakeLine(int number, std::string raw) {
  return SourceLine::MakeOwning(raw, number, LineKind::Element);
}

// The record AddDiagnostic would file.
Diagnostic Format(int code, const SourceLine* line, std::vector<DiagnosticValue> values) {
  const MessageRow* row = FindMessage(code);
  Diagnostic diagnostic;
  diagnostic.lineNumber = line != nullptr ? line->number : 0;
  diagnostic.text = FormatDiagnostic(row->severity, row->format, line, values);
  diagnostic.code = static_cast<MessageCode>(code);
  diagnostic.severity = row->severity;
  return diagnostic;
}

TEST(DiagnosticFormat, TakesEveryCatalogueMessageApartWithAndWithoutLine) {
  const SourceLine line = MakeLine(12, ".MODEL QX NPN(VA=1)\r\n");
  const std::vector<DiagnosticValue> values = {"VA", "Q1", "TC"};
  for (int code = 0; code < static_cast<int>(kMessageCount); ++code) {
    for (const SourceLine* about : {&line, static_cast<const SourceLine*>(nullptr)}) {
      const Diagnostic diagnostic = Format(code, about, values);
      const std::string& text = diagnostic.text;
      const ParsedDiagnostic parsed = ParseDiagnostic(diagnostic);
      EXPECT_EQ(parsed.code, code) << text;
      EXPECT_EQ(parsed.line, about ? 12 : 0) << text;
      EXPECT_EQ(parsed.native, text);
      EXPECT_EQ(parsed.message.find("Line "), std::string::npos) << text;
      EXPECT_NE(parsed.message.back(), '\n') << text;
    }
  }
}

TEST(DiagnosticFormat, SeverityComesFromTheCatalogue) {
  const SourceLine line = MakeLine(3, "C1 a b CM 1p\n");
  struct Case {
    int code;
    DiagnosticSeverity severity;
  };
  const Case cases[] = {
      {27, DiagnosticSeverity::Info},
      {23, DiagnosticSeverity::Warning},
      {24, DiagnosticSeverity::Error},
      {4, DiagnosticSeverity::Error},  // a file-level message prints like an error
  };
  for (const Case& c : cases) {
    const ParsedDiagnostic parsed = ParseDiagnostic(Format(c.code, &line, {"A", "B", "C"}));
    EXPECT_EQ(parsed.severity, c.severity) << c.code;
  }
}

TEST(DiagnosticFormat, KeepsMessageWhenQuotedLineIsLongOrCut) {
  const SourceLine longLine = MakeLine(7, ".MODEL D1 D(" + std::string(480, 'X') + ")\n");
  const ParsedDiagnostic parsed = ParseDiagnostic(Format(24, &longLine, {"FOO"}));
  EXPECT_EQ(parsed.code, 24);
  EXPECT_EQ(parsed.message, "\"FOO\" is not a recognized model parameter. It will be converted to a comment");
}

TEST(DiagnosticFormat, KeepsTheStartOfAMessageCutAtTheLengthLimit) {
  const SourceLine line = MakeLine(2, ".MODEL D1 D\n");
  const Diagnostic diagnostic = Format(35, &line, {std::string(600, 'N'), "D1"});
  ASSERT_LE(diagnostic.text.size(), 511u);
  const ParsedDiagnostic parsed = ParseDiagnostic(diagnostic);
  EXPECT_EQ(parsed.code, 35);
  EXPECT_EQ(parsed.message.substr(0, 20), "Cannot find \"NNNNNNN");
  EXPECT_NE(parsed.message.back(), '\n');
}

TEST(DiagnosticFormat, TextFormatPutsEachDiagnosticOnOneLine) {
  const SourceLine line = MakeLine(9, "+ T_ABS=30\n");
  struct Case {
    int code;
    const SourceLine* line;
    std::string expected;
  };
  const Case cases[] = {
      {26, &line,
       "lib/a.lib:9: warning: There are no elements that reference the \"QN\" model, so the \"T_ABS\" parameter "
       "cannot be moved. It will be converted to a comment\n"},
      {4, nullptr, "lib/a.lib: error: Cannot find any valid models in the file.\n"},
      {27, &line, "lib/a.lib:9: info: The \"QN\" parameter is being added to the device \"T_ABS\" as \"X\"\n"},
  };
  for (const Case& c : cases) {
    const ParsedDiagnostic parsed = ParseDiagnostic(Format(c.code, c.line, {"QN", "T_ABS", "X"}));
    EXPECT_EQ(FormatTextDiagnostic("lib/a.lib", parsed), c.expected);
  }
}

TEST(DiagnosticFormat, JsonFormatIsOneValidObjectEvenForEightBitText) {
  const SourceLine line = MakeLine(4, ".MODEL D\xb5 D(IS=1)\n");
  const ParsedDiagnostic withLine = ParseDiagnostic(Format(24, &line, {"\xb5X"}));
  const std::string json = FormatJsonDiagnostic("dir/\xe9.lib", withLine);
  ASSERT_EQ(json.find('\n'), json.size() - 1);
  const nlohmann::json object = nlohmann::json::parse(json);
  EXPECT_EQ(object["line"], 4);
  EXPECT_EQ(object["severity"], "error");
  EXPECT_EQ(object["code"], 24);
  EXPECT_NE(object["message"].get<std::string>().find("is not a recognized model parameter"), std::string::npos);

  const nlohmann::json noLine = nlohmann::json::parse(FormatJsonDiagnostic("a.lib", ParseDiagnostic(Format(4, nullptr, {}))));
  EXPECT_TRUE(noLine["line"].is_null());
  EXPECT_EQ(noLine["code"], 4);
}

}  // namespace
}  // namespace zav::cli
