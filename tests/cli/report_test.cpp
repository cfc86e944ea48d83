// The parts of the HTML report that decide what an engineer reads: text made
// safe for a page, the word-by-word marks, the alignment of input and output
// by source line, the page names, and the page's own promises (one script, a
// policy that names it). tests/browser opens the pages in a real browser.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "cli_runner.h"
#include "diagnostic_format.h"
#include "file_import.h"
#include "html_text.h"
#include "model_completeness.h"
#include "report_assets.h"
#include "report_file_page.h"
#include "report_rows.h"
#include "report_writer.h"
#include "word_diff.h"

namespace zav::testing {
namespace {
namespace fs = std::filesystem;
using cli::ByteRange;
using cli::RowChange;

std::size_t Count(const std::string& text, const std::string& what) {
  std::size_t count = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++count;
  return count;
}

TEST(ReportHtmlText, EscapesMarkupAndShowsEveryByte) {
  struct Case {
    std::string bytes;
    std::string html;
  };
  const std::vector<Case> cases = {
      {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
      {"\"><img src=x onerror='a'>", "&quot;&gt;&lt;img src=x onerror=&#39;a&#39;&gt;"},
      {"&lt; stays as written", "&amp;lt; stays as written"},
      {"tab\tand\nline feed", "tab\tand&#10;line feed"},
      {"\x01\x1b[0m\r\x7f", "\u2401\u241b[0m\u240d\u2421"},
      {"5 \xc2\xb5m, \xe2\x82\xac, \xf0\x9f\x94\x8c", "5 \u00b5m, \u20ac, \U0001F50C"},  // UTF-8 passes
      {"5 \xb5m", "5 \u00b5m"},                                                          // Latin-1 byte
      {"\x93quoted\x94 \x96 \x80", "\u201cquoted\u201d \u2013 \u20ac"},                  // Windows-1252 bytes
      {"\x81\x8d\x8f\x90\x9d", "\ufffd\ufffd\ufffd\ufffd\ufffd"},                        // undefined in it
      {"\xc0\xbc", "\u00c0\u00bc"},                      // an overlong '<' is two bytes, not '<'
      {"\xed\xa0\x80", "\u00ed\u00a0\u20ac"},            // a surrogate
      {"\xf4\x90\x80\x80", "\u00f4\ufffd\u20ac\u20ac"},  // beyond U+10FFFF
      {"end \xe2\x82", "end \u00e2\u201a"},              // cut short
  };
  for (const Case& c : cases) EXPECT_EQ(cli::HtmlText(c.bytes), c.html) << c.bytes;
}

TEST(ReportWordDiff, MarksTheWordsThatDiffer) {
  struct Case {
    std::string before;
    std::string after;
    std::vector<ByteRange> removed;
    std::vector<ByteRange> added;
  };
  const std::vector<Case> cases = {
      {".MODEL Q NPN(BF=1)", ".MODEL Q NPN(BF=1)", {}, {}},
      // A renamed parameter: the name alone.
      {"NPN(IS=1 VA=74 IK=3)", "NPN(IS=1 VAF=74 IKF=3)", {{9, 11}, {15, 17}}, {{9, 12}, {16, 19}}},
      // A card turned into a comment.
      {"R9 1 2 1k", "* R9 1 2 1k", {}, {{0, 2}}},
      // A line added under the card.
      {".MODEL Q PNP(BF=4)", ".MODEL Q PNP(BF=4)\n+ SUBS = -1", {}, {{18, 30}}},
      // A parameter cut off to a comment line of its own.
      {"D(IS=2 GAMMA=1)", "D(IS=2\n* GAMMA=1)", {}, {{6, 8}}},
      // Numbers with signs and exponents are words with their dots.
      {"IS=1.2E-14", "IS=1.3E-14", {{3, 7}}, {{3, 7}}},
      {"", "* added", {}, {{0, 7}}},
      {"gone", "", {{0, 4}}, {}},
  };
  for (const Case& c : cases) {
    const cli::WordDiff diff = cli::DiffWords(c.before, c.after);
    EXPECT_EQ(diff.removed, c.removed) << c.before << " -> " << c.after;
    EXPECT_EQ(diff.added, c.added) << c.before << " -> " << c.after;
  }
}

TEST(ReportWordDiff, StaysLinearOnLongUnrelatedTexts) {
  std::string before;
  std::string after;
  for (int i = 0; i < 20000; ++i) {
    before += "a" + std::to_string(i) + " ";
    after += "b" + std::to_string(i) + " ";
  }
  const cli::WordDiff diff = cli::DiffWords("same " + before + "end", "same " + after + "end");
  // Past the bound the whole middle counts as changed, in one range a side
  // (the blank before "end" is common to both).
  ASSERT_EQ(diff.removed.size(), 1u);
  EXPECT_EQ(diff.removed[0], (ByteRange{5, 5 + before.size() - 1}));
  ASSERT_EQ(diff.added.size(), 1u);
  EXPECT_EQ(diff.added[0], (ByteRange{5, 5 + after.size() - 1}));
}

TEST(ReportPage, PolicyNamesTheDigestOfEachInlineAsset) {
  // SHA-256 of nothing, in hexadecimal and in base64.
  const cli::ReportAsset empty{"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"};
  EXPECT_EQ(cli::CspSource(empty), "'sha256-47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU='");
  for (const cli::ReportAsset* asset : {&cli::ReportStyleSheet(), &cli::FilePageScript(), &cli::IndexPageScript()}) {
    EXPECT_EQ(asset->sha256.size(), 64u);
    // The pages carry them inline: they must not end their element early.
    EXPECT_EQ(asset->text.find("</"), std::string_view::npos);
  }
}

TEST(ReportPage, NamesPagesByPositionAndPlainFileName) {
  struct Case {
    std::size_t position;
    std::string file;
    std::string page;
  };
  const std::vector<Case> cases = {
      {7, "vendor/opamps/opa209.lib", "0007-opa209.lib.html"},
      {1, "<stdin>", "0001-stdin_.html"},
      {2, "\"><img src=x onerror=alert(4)>.lib", "0002-img_src_x_onerror_alert_4__.lib.html"},
      {3, "C:\\models\\ST 10.lib", "0003-ST_10.lib.html"},
      {4, "..", "0004-file.html"},
      {12345, ".hidden", "12345-hidden.html"},
      {5, std::string(300, 'x') + ".lib", "0005-" + std::string(80, 'x') + ".html"},
  };
  for (const Case& c : cases) EXPECT_EQ(cli::ReportPageName(c.position, c.file), c.page) << c.file;
  EXPECT_EQ(cli::ReportPartName("0007-big.lib.html", 1), "0007-big.lib.html");
  EXPECT_EQ(cli::ReportPartName("0007-big.lib.html", 12), "0007-big.lib.part12.html");
}

TEST(ReportPage, SplitsLongFilesIntoPartsCountingTheirDiagnostics) {
  std::vector<cli::ParsedDiagnostic> diagnostics(4);
  diagnostics[0].line = 1;
  diagnostics[1].line = 50000;
  diagnostics[1].severity = cli::DiagnosticSeverity::Warning;
  diagnostics[2].line = 50001;
  diagnostics[3].line = 0;  // about no line: counted nowhere
  EXPECT_TRUE(cli::PlanParts(cli::kRowsPerPart, diagnostics).empty());
  const std::vector<cli::PagePart> parts = cli::PlanParts(2 * cli::kRowsPerPart + 1, diagnostics);
  ASSERT_EQ(parts.size(), 3u);
  EXPECT_EQ(parts[0].firstRow, 0u);
  EXPECT_EQ(parts[0].endRow, cli::kRowsPerPart);
  EXPECT_EQ(parts[2].firstRow, 2 * cli::kRowsPerPart);
  EXPECT_EQ(parts[2].endRow, 2 * cli::kRowsPerPart + 1);
  EXPECT_EQ(parts[0].errors, 1);
  EXPECT_EQ(parts[0].warnings, 1);
  EXPECT_EQ(parts[1].errors, 1);
  EXPECT_EQ(parts[2].errors + parts[2].warnings, 0);
}

// The rows of a file imported through the library, as the report lines them
// up.
cli::ReportRows Align(const std::string& text) {
  ScratchDirectory scratch;
  const fs::path file = scratch.Write("in.lib", text);
  cli::FileImport import;
  std::string error;
  EXPECT_TRUE(import.Run(file, error)) << error;
  cli::ReportRows rows = cli::AlignRows(import.Session(), import.Models());
  cli::FileImport::TakeDiagnostics();
  return rows;
}

struct ExpectedRow {
  RowChange change;
  int firstOutputLine;
  int lastOutputLine;
};

TEST(ReportRows, LineUpEachInputLineWithWhatCameOfIt) {
  struct Case {
    const char* what;
    std::string input;
    std::vector<ExpectedRow> rows;
    int outputLines;
  };
  // 511 characters, then the rest of the line: a comment line too.
  const std::string longLine = "* " + std::string(509, 'x') + "* rest\n";
  const std::vector<Case> cases = {
      {"untouched card with its inline comment",
       "* header\n.MODEL D1 D(IS=1)  ; diode\n",
       {{RowChange::Same, 1, 1}, {RowChange::Same, 2, 2}},
       2},
      // The added line closes the card: it stands under its last line.
      {"renamed parameter, line added under a card",
       ".MODEL Q1 LPNP(VA=5)\n+ BF=3\n",
       {{RowChange::Changed, 1, 1}, {RowChange::Changed, 2, 3}},
       3},
      {"element outside a definition turned into a comment",
       "R9 1 2 1k\n.MODEL D1 D(IS=1)\n",
       {{RowChange::Commented, 1, 1}, {RowChange::Same, 2, 2}},
       2},
      {"parameter commented out onto a line of its own",
       ".MODEL D1 D(IS=1 GAMMA=1)\n",
       {{RowChange::Changed, 1, 2}},
       2},
      // The reader takes 511 characters at a time: each piece is a line of
      // its own, and both stand beside the one output line they make up.
      {"line longer than the reader takes",
       longLine + ".MODEL D1 D(IS=1)\n",
       {{RowChange::Same, 1, 1}, {RowChange::Same, 1, 1}, {RowChange::Same, 2, 2}},
       2},
      {"no line feed at the end", ".MODEL D1 D(IS=1)", {{RowChange::Same, 1, 1}}, 1},
      {"CR LF read as LF", "* a\r\n.MODEL D1 D(IS=1)\r\n", {{RowChange::Same, 1, 1}, {RowChange::Same, 2, 2}}, 2},
      {"no model: nothing comes out", "* only a comment\n", {{RowChange::Missing, 0, 0}}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const cli::ReportRows rows = Align(c.input);
    EXPECT_FALSE(rows.approximate);
    EXPECT_EQ(rows.outputLines, c.outputLines);
    ASSERT_EQ(rows.rows.size(), c.rows.size());
    for (std::size_t i = 0; i < c.rows.size(); ++i) {
      SCOPED_TRACE("line " + std::to_string(i + 1));
      EXPECT_EQ(rows.rows[i].number, static_cast<int>(i + 1));
      EXPECT_EQ(rows.rows[i].change, c.rows[i].change);
      EXPECT_EQ(rows.rows[i].firstOutputLine, c.rows[i].firstOutputLine);
      EXPECT_EQ(rows.rows[i].lastOutputLine, c.rows[i].lastOutputLine);
    }
  }
}

TEST(ReportRows, HandEveryOutputByteToExactlyOneLineOnTheCorpus) {
  const fs::path corpus = ZAV_CORPUS_DIR;
  if (!fs::is_directory(corpus)) GTEST_SKIP() << "no corpus at " << corpus;
  int files = 0;
  for (const auto& entry : fs::directory_iterator(corpus)) {
    const std::string name = entry.path().filename().string();
    if (name == "README.md" || name == "MANIFEST.tsv") continue;
    SCOPED_TRACE(name);
    cli::FileImport import;
    std::string error;
    ASSERT_TRUE(import.Run(entry.path(), error)) << error;
    const std::vector<ZAV_MODEL> models = import.Models();
    const cli::ReportRows rows = cli::AlignRows(import.Session(), models);
    cli::FileImport::TakeDiagnostics();
    std::string text;
    std::string written;
    for (ZAV_MODEL model : models) written += cli::FileImport::ModelText(model, text);
    // The output follows the input here: row by row, the outputs spell the
    // whole translation, and every input line has a part of it.
    std::string spelled;
    std::string read;
    for (const cli::ReportRow& row : rows.rows) {
      spelled += row.output;
      read += row.input;
      EXPECT_NE(row.change, RowChange::Missing) << "line " << row.number;
    }
    EXPECT_FALSE(rows.approximate);
    EXPECT_EQ(spelled, written);
    EXPECT_EQ(rows.outputLines, static_cast<int>(std::count(written.begin(), written.end(), '\n')) +
                                    (written.empty() || written.back() == '\n' ? 0 : 1));
    EXPECT_FALSE(read.empty());
    ++files;
  }
  EXPECT_GT(files, 30);
}

TEST(ReportPage, ShowsHostileTextAsTextAndEachDiagnosticUnderItsLine) {
  const std::string input =
      "* <script>alert(1)</script>\n"
      ".MODEL Q<script>alert`1`</script> NPN(BF=1 VA=2)\n"
      ".MODEL D1 D(IS=1 FOO=2)\n"
      ".MODEL Q2 LPNP(BF=1)\n"
      "+ VA=2\n";
  ScratchDirectory scratch;
  const fs::path file = scratch.Write("in.lib", input);
  cli::FileImport import;
  std::string error;
  ASSERT_TRUE(import.Run(file, error)) << error;
  const std::vector<ZAV_MODEL> models = import.Models();
  const cli::ReportRows rows = cli::AlignRows(import.Session(), models);
  std::vector<cli::ParsedDiagnostic> diagnostics = cli::FileImport::TakeDiagnostics();
  cli::ParsedDiagnostic fileWide;
  fileWide.line = 0;
  fileWide.severity = cli::DiagnosticSeverity::Warning;
  fileWide.message = "about the <file>";
  diagnostics.push_back(fileWide);
  std::vector<const ImportedModel*> imported;
  for (ZAV_MODEL model : models) imported.push_back(reinterpret_cast<const ImportedModel*>(model));
  const cli::ModelLineMap lineMap(imported);
  const std::vector<cli::ModelCompleteness> completeness = lineMap.Completeness(diagnostics);

  cli::FilePage page;
  page.name = "<b>name</b>.lib";
  page.indexHref = "../index.html";
  page.rows = &rows;
  page.diagnostics = &diagnostics;
  page.models = &lineMap;
  page.completeness = &completeness;
  const std::string html = cli::RenderFilePage(page);

  // Between the style sheet and the script, each line of the page starts
  // with markup, never with a line of the model file (which -r could take
  // for a card).
  const std::size_t styleEnd = html.find("</style>");
  std::istringstream lines(html.substr(styleEnd, html.find("<script>") - styleEnd));
  for (std::string line; std::getline(lines, line);) EXPECT_EQ(line.substr(0, 1), "<") << line;

  EXPECT_EQ(Count(html, "<script"), 1u);
  EXPECT_EQ(Count(html, "<b>name"), 0u);
  // Input and output of line 1.
  EXPECT_EQ(Count(html, "&lt;script&gt;alert(1)&lt;/script&gt;"), 2u);
  // The model list and line 2 (once on each side) name the model.
  EXPECT_EQ(Count(html, "Q&lt;script&gt;alert`1`&lt;/script&gt;"), 3u);
  EXPECT_NE(html.find("Content-Security-Policy\" content=\"default-src 'none'; style-src 'sha256-"), std::string::npos);
  // The error about FOO sits in the row of line 3, which also has an error;
  // the diagnostic about no line heads the page.
  const std::size_t row3 = html.find("<div id=\"L3\" class=\"c m de\">");
  ASSERT_NE(row3, std::string::npos);
  const std::size_t foo = html.find("<p class=\"d e\"><b>error</b>&quot;FOO&quot;");
  EXPECT_GT(foo, row3);
  EXPECT_LT(foo, html.find("</div>", row3));
  EXPECT_LT(html.find("<p class=\"d w\"><b>warning</b>about the &lt;file&gt;</p>"), html.find("id=\"L1\""));
  // What the filters show, counted for the script: lines 2, 4 and 5
  // changed, line 3 changed with an error.
  EXPECT_NE(html.find("data-all=\"5\" data-warnings=\"1\" data-errors=\"1\" data-all-changed=\"4\" "
                      "data-warnings-changed=\"1\" data-errors-changed=\"1\""),
            std::string::npos);
}

}  // namespace
}  // namespace zav::testing
