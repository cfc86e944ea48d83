#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "diagnostics/add_diagnostic.h"
#include "diagnostics/diagnostic_list.h"
#include "diagnostics/message_catalogue.h"
#include "text/source_line.h"

namespace zav {
namespace {

SourceLine MakeLine(int number, std::string raw) {
  return SourceLine::MakeOwning(raw, number, LineKind::Element);
}

std::vector<std::string> Texts() {
  std::vector<std::string> texts;
  TheDiagnosticList().ForEach([&](const Diagnostic& d) { texts.push_back(d.text); });
  return texts;
}

class AddDiagnosticTest : public ::testing::Test {
 protected:
  void SetUp() override { TheDiagnosticList().Clear(); }
  void TearDown() override { TheDiagnosticList().Clear(); }
};

TEST_F(AddDiagnosticTest, FormatsHeaderPrefixValuesAndEnding) {
  const SourceLine withFeed = MakeLine(12, "Q1 1 2 3 QX\n");
  const SourceLine withoutFeed = MakeLine(7, "R1 1 2 10");
  struct Case {
    int code;
    const SourceLine* line;
    std::vector<std::string> values;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {35, &withFeed, {"QX", "Q1"},
       "Line 12:\n\tQ1 1 2 3 QX\nerror -- Cannot find \"QX\" reference model for \"Q1\".\n"},
      // A line without its own line feed gets one in the header.
      {15, &withoutFeed, {}, "Line 7:\n\tR1 1 2 10\nerror -- This card is unexpected in this context..\n"},
      {1, nullptr, {"lib/x.lib"}, "error -- Can't open file: lib/x.lib for reading.\n"},
      // Texts that end in a period get a second one.
      {4, nullptr, {}, "error -- Cannot find any valid models in the file..\n"},
      {27, nullptr, {"TC1", "C1", "TC"},
       "info -- The \"TC1\" parameter is being added to the device \"C1\" as \"TC\".\n"},
      {23, nullptr, {"GAMMA"},
       "warning -- \"GAMMA\" is not a supported model parameter. It will be converted to a comment.\n"},
      // A value's own trailing line feed is dropped where it replaces %s.
      {12, &withFeed, {"Q1 1 2 3 QX\n"},
       "Line 12:\n\tQ1 1 2 3 QX\nerror -- Invalid Q1 1 2 3 QX string or character. Could not determine the type of "
       "this token..\n"},
  };
  for (const Case& c : cases) {
    TheDiagnosticList().Clear();
    std::vector<DiagnosticValue> values(c.values.begin(), c.values.end());
    const MessageRow* row = FindMessage(c.code);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(FormatDiagnostic(row->severity, row->format, c.line, values), c.expected) << "code " << c.code;
  }
}

TEST_F(AddDiagnosticTest, FormatWalkHandlesEveryConversion) {
  const std::vector<DiagnosticValue> values = {DiagnosticValue("abc"), DiagnosticValue(-42), DiagnosticValue(1.5),
                                               DiagnosticValue(7)};
  EXPECT_EQ(FormatDiagnostic(Severity::Info, "%S|%d|%e|%i 100%% %q done", nullptr, values),
            "info -- abc|-42|1.500000|7 100  done.\n");
  // Missing values read as empty texts and zeros instead of reading past the list.
  EXPECT_EQ(FormatDiagnostic(Severity::Warning, "%s-%d-%g", nullptr, {}), "warning -- -0-0.000000.\n");
}

TEST_F(AddDiagnosticTest, StaysWithinTheLengthBoundWhateverTheInput) {
  const SourceLine longLine = MakeLine(3, std::string(511, 'x'));
  const std::string longValue(5000, 'v');
  const std::vector<DiagnosticValue> values = {DiagnosticValue(longValue), DiagnosticValue(longValue)};
  for (int code = 0; code < static_cast<int>(kMessageCount); ++code) {
    const MessageRow* row = FindMessage(code);
    for (const SourceLine* line : {static_cast<const SourceLine*>(nullptr), &longLine}) {
      const std::string text = FormatDiagnostic(row->severity, row->format, line, values);
      EXPECT_LE(text.size(), kMaxDiagnosticLength) << "code " << code;
      EXPECT_EQ(text.substr(text.size() - 2), ".\n") << "code " << code;
    }
  }
  // A long line is quoted by its start, marked as cut, and leaves the message whole.
  const MessageRow* row = FindMessage(15);
  const std::string text = FormatDiagnostic(row->severity, row->format, &longLine, {});
  EXPECT_EQ(text.rfind("Line 3:\n\txxx", 0), 0u);
  EXPECT_NE(text.find("...\nerror -- This card is unexpected in this context..\n"), std::string::npos);
  // A line that fits is quoted whole.
  const SourceLine fitting = MakeLine(4, std::string(200, 'y') + "\n");
  const std::string whole = FormatDiagnostic(row->severity, row->format, &fitting, {});
  EXPECT_EQ(whole, "Line 4:\n\t" + std::string(200, 'y') + "\nerror -- This card is unexpected in this context..\n");
}

TEST_F(AddDiagnosticTest, KeepsLineOrderAndFilingOrderWithinALine) {
  const SourceLine l3 = MakeLine(3, "a\n"), l5 = MakeLine(5, "b\n"), l10 = MakeLine(10, "c\n");
  AddDiagnostic(MessageCode::UnexpectedCard, &l3);
  AddDiagnostic(MessageCode::UnexpectedCard, &l10);
  AddDiagnostic(MessageCode::UnexpectedLine, &l5);
  AddDiagnostic(MessageCode::UnexpectedCard, &l5);  // same line: after the earlier line-5 entry
  AddDiagnostic(MessageCode::NoValidModels, nullptr);  // no line: before everything
  std::vector<int> numbers;
  TheDiagnosticList().ForEach([&](const Diagnostic& d) { numbers.push_back(d.lineNumber); });
  EXPECT_EQ(numbers, (std::vector<int>{0, 3, 5, 5, 10}));
  const auto texts = Texts();
  EXPECT_NE(texts[2].find("This line is unexpected in this context."), std::string::npos);
  EXPECT_NE(texts[3].find("This card is unexpected in this context.."), std::string::npos);
  EXPECT_EQ(TheDiagnosticList().Count(), 5u);
}

TEST_F(AddDiagnosticTest, CursorWrapsToTheFirstAfterTheEnd) {
  DiagnosticList list;
  EXPECT_EQ(list.First(), nullptr);
  EXPECT_EQ(list.Next(), nullptr);
  auto make = [](int n) {
    auto d = std::make_unique<Diagnostic>();
    d->lineNumber = n;
    return d;
  };
  Diagnostic* a = list.Add(make(1));
  EXPECT_EQ(list.Next(), nullptr);  // no First yet: no position
  Diagnostic* b = list.Add(make(2));
  EXPECT_EQ(list.First(), a);
  EXPECT_EQ(list.Next(), b);
  EXPECT_EQ(list.Next(), nullptr);
  EXPECT_EQ(list.Next(), a);  // wraps
  // Filing does not move the cursor.
  list.Add(make(0));
  EXPECT_EQ(list.Next(), b);
}

TEST_F(AddDiagnosticTest, FilingTwoHundredThousandRandomLinesIsFast) {
  std::mt19937 random(12345);
  std::vector<SourceLine> lines;
  lines.reserve(1000);
  for (int i = 0; i < 1000; ++i) lines.push_back(MakeLine(i + 1, "R1 1 2 3\n"));
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 200000; ++i) {
    AddDiagnostic(MessageCode::UnexpectedCard, &lines[random() % lines.size()]);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_EQ(TheDiagnosticList().Count(), 200000u);
  int previous = 0;
  bool sorted = true;
  TheDiagnosticList().ForEach([&](const Diagnostic& d) {
    sorted = sorted && d.lineNumber >= previous;
    previous = d.lineNumber;
  });
  EXPECT_TRUE(sorted);
  // Linear filing takes well under a second here; a walk from the front per
  // filing would take minutes.
  EXPECT_LT(seconds, 20.0);
  RecordProperty("seconds", std::to_string(seconds));
}

}  // namespace
}  // namespace zav
