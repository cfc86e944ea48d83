#include "report_file_page.h"

#include <algorithm>
#include <array>
#include <span>
#include <string>
#include <vector>

#include "html_text.h"
#include "report_page_frame.h"
#include "word_diff.h"

namespace zav::cli {
namespace {

// The class of a diagnostic of `severity`; a row with one gets "d" and it.
char SeverityClass(DiagnosticSeverity severity) {
  switch (severity) {
    case DiagnosticSeverity::Info:
      return 'i';
    case DiagnosticSeverity::Warning:
      return 'w';
    case DiagnosticSeverity::Error:
      break;
  }
  return 'e';
}

// `text` with the byte ranges of `marked` inside <`tag`> elements.
void AppendMarked(std::string& out, std::string_view text, const std::vector<ByteRange>& marked, std::string_view tag) {
  std::size_t at = 0;
  for (const ByteRange& range : marked) {
    const std::size_t begin = std::min(range.begin, text.size());
    const std::size_t end = std::min(range.end, text.size());
    if (begin < at || begin >= end) continue;
    AppendHtmlText(out, text.substr(at, begin - at));
    out += '<';
    out += tag;
    out += '>';
    AppendHtmlText(out, text.substr(begin, end - begin));
    out += "</";
    out += tag;
    out += '>';
    at = end;
  }
  AppendHtmlText(out, text.substr(at));
}

void AppendDiagnostic(std::string& out, const ParsedDiagnostic& diagnostic) {
  out += "<p class=\"d ";
  out += SeverityClass(diagnostic.severity);
  out += "\"><b>";
  out += SeverityName(diagnostic.severity);
  out += "</b>";
  AppendHtmlText(out, diagnostic.message);
  out += "</p>";
}

// Which rows each filter shows, the way the style sheet decides it, and
// about how tall they stand, in half lines of text.
constexpr std::size_t kFilters = 6;  // all, warnings, errors; each then changed only

struct FilterCounts {
  std::array<int, kFilters> rows{};
  std::array<long long, kFilters> height{};

  void Count(bool changed, bool error, bool warning, long long rowHeight) {
    const std::array<bool, 3> severity = {true, error || warning, error};
    for (std::size_t i = 0; i < 3; ++i) {
      if (!severity[i]) continue;
      ++rows[i];
      height[i] += rowHeight;
      if (changed) {
        ++rows[i + 3];
        height[i + 3] += rowHeight;
      }
    }
  }
};

std::string_view WithoutLineFeed(std::string_view text) {
  return !text.empty() && text.back() == '\n' ? text.substr(0, text.size() - 1) : text;
}

// The lines a text takes in a column about 90 characters wide.
long long TextLines(std::string_view text) {
  long long lines = 0;
  std::size_t at = 0;
  do {
    const std::size_t feed = std::min(text.find('\n', at), text.size());
    lines += 1 + static_cast<long long>((feed - at) / 90);
    at = feed + 1;
  } while (at <= text.size());
  return lines;
}

// The output's line numbers, one beside each of its lines; the first and the
// last when they do not follow one another (output of a line that stands
// apart).
void AppendOutputLineNumbers(std::string& out, const ReportRow& row, std::string_view output) {
  if (row.firstOutputLine <= 0) return;
  const auto lines = std::count(output.begin(), output.end(), '\n') + 1;
  if (row.lastOutputLine - row.firstOutputLine + 1 != lines) {
    out += std::to_string(row.firstOutputLine) + "&#10;\u2026" + std::to_string(row.lastOutputLine);
    return;
  }
  for (int line = row.firstOutputLine; line <= row.lastOutputLine; ++line) {
    if (line > row.firstOutputLine) out += "&#10;";
    out += std::to_string(line);
  }
}

void AppendRow(std::string& out, const ReportRow& row, std::span<const ParsedDiagnostic* const> diagnostics,
               bool modelStart, FilterCounts& block, FilterCounts& page) {
  const auto has = [&](DiagnosticSeverity severity) {
    return std::any_of(diagnostics.begin(), diagnostics.end(),
                       [&](const ParsedDiagnostic* diagnostic) { return diagnostic->severity == severity; });
  };
  const bool error = has(DiagnosticSeverity::Error);
  const bool warning = has(DiagnosticSeverity::Warning);
  const bool info = has(DiagnosticSeverity::Info);
  const bool changed = row.change != RowChange::Same;
  // The rows stand one above the other: a line feed at the end shows as
  // nothing.
  const std::string_view input = WithoutLineFeed(row.input);
  const std::string_view output = WithoutLineFeed(row.output);
  const long long height =
      2 * std::max(TextLines(input), TextLines(output)) + 3 * static_cast<long long>(diagnostics.size());
  block.Count(changed, error, warning, height);
  page.Count(changed, error, warning, height);

  const std::string number = std::to_string(row.number);
  out += "<div id=\"L" + number + "\"";
  std::string classes;
  if (changed) classes += " c";
  if (row.change == RowChange::Commented) classes += " k";
  if (row.change == RowChange::Missing) classes += " x";
  if (modelStart) classes += " m";
  if (error) classes += " de";
  if (warning) classes += " dw";
  if (info) classes += " di";
  if (!classes.empty()) out += " class=\"" + classes.substr(1) + "\"";
  out += "><a href=\"#L" + number + "\">" + number + "</a><pre>";
  if (row.change == RowChange::Changed || row.change == RowChange::Commented) {
    const WordDiff diff = DiffWords(input, output);
    AppendMarked(out, input, diff.removed, "del");
    out += "</pre><i>";
    AppendOutputLineNumbers(out, row, output);
    out += "</i><pre>";
    AppendMarked(out, output, diff.added, "ins");
  } else {
    AppendHtmlText(out, input);
    out += "</pre><i>";
    AppendOutputLineNumbers(out, row, output);
    out += "</i><pre>";
    AppendHtmlText(out, output);
  }
  out += "</pre>";
  for (const ParsedDiagnostic* diagnostic : diagnostics) AppendDiagnostic(out, *diagnostic);
  out += "</div>\n";
}

// " data-u=\"A W E AC WC EC\"": how tall the block stands under each filter.
std::string BlockHeights(const FilterCounts& block) {
  std::string heights = " data-u=\"";
  for (std::size_t i = 0; i < kFilters; ++i) heights += (i > 0 ? " " : "") + std::to_string(block.height[i]);
  return heights + "\"";
}

void AppendCounts(std::string& out, const ReportCounts& counts) {
  out += "<dl class=\"counts\">";
  for (const ReportCountColumn& column : ReportCountColumns()) {
    const int value = column.value(counts);
    out += "<div";
    if (value == 0) {
      out += " class=\"zero\"";
    } else if (!column.tone.empty()) {
      out += " class=\"" + std::string(column.tone) + "\"";
    }
    out += "><dt>" + std::string(column.label) + "</dt><dd>" + GroupedNumber(value) + "</dd></div>";
  }
  out += "</dl>\n";
}

constexpr std::string_view kFilterBar =
    "<form class=\"bar\" id=\"filters\" aria-label=\"Filters\">"
    "<fieldset><legend>Show</legend>"
    "<label><input type=\"radio\" name=\"severity\" value=\"all\" checked> Everything</label>"
    "<label><input type=\"radio\" name=\"severity\" value=\"warnings\"> Warnings and errors</label>"
    "<label><input type=\"radio\" name=\"severity\" value=\"errors\"> Errors only</label>"
    "</fieldset>"
    "<label title=\"Hide the lines that come out exactly as they went in\">"
    "<input type=\"checkbox\" name=\"changed\"> Changed lines only</label>"
    "<span class=\"legend\"><span><span class=\"swatch c\"></span>changed</span>"
    "<span><span class=\"swatch k\"></span>commented out</span>"
    "<span><span class=\"swatch x\"></span>not in the output</span>"
    "<span><span class=\"swatch e\"></span>error</span>"
    "<span><span class=\"swatch w\"></span>warning</span>"
    "<span><span class=\"swatch i\"></span>info</span></span>"
    "<output id=\"shown\"></output></form>\n";

// The part that shows line `number`.
std::size_t PartOf(const FilePage& page, int number) {
  const auto after = std::upper_bound(page.parts.begin(), page.parts.end(), number, [](int line, const PagePart& part) {
    return line < static_cast<int>(part.firstRow) + 1;
  });
  return after == page.parts.begin() ? 0 : static_cast<std::size_t>(after - page.parts.begin() - 1);
}

// "#L12", or "0001-big.lib.part2.html#L62000" for a line on another part.
std::string LineHref(const FilePage& page, int number) {
  std::string href;
  if (!page.parts.empty()) {
    const std::size_t part = PartOf(page, number);
    if (part != page.part) href = page.parts[part].href;
  }
  return href + "#L" + std::to_string(number);
}

std::string LineRange(const PagePart& part) {
  return "lines " + GroupedNumber(static_cast<int>(part.firstRow + 1)) + "\u2013" +
         GroupedNumber(static_cast<int>(part.endRow));
}

void AppendPager(std::string& out, const FilePage& page) {
  out +=
      "<nav class=\"parts\" aria-label=\"Parts\"><p>Shown in " + std::to_string(page.parts.size()) + " parts:</p><ol>";
  for (std::size_t i = 0; i < page.parts.size(); ++i) {
    const PagePart& part = page.parts[i];
    if (i == page.part) {
      out += "<li><strong aria-current=\"page\">" + LineRange(part) + "</strong>";
    } else {
      out += "<li><a href=\"";
      AppendHtmlText(out, part.href);
      out += "\">" + LineRange(part) + "</a>";
    }
    if (part.errors > 0) {
      out +=
          " <span class=\"pe\">" + GroupedNumber(part.errors) + (part.errors == 1 ? " error" : " errors") + "</span>";
    }
    if (part.warnings > 0) {
      out += " <span class=\"pw\">" + GroupedNumber(part.warnings) + (part.warnings == 1 ? " warning" : " warnings") +
             "</span>";
    }
    out += "</li>";
  }
  out += "</ol></nav>\n";
}

void AppendModelList(std::string& out, const FilePage& page) {
  const ModelLineMap& models = *page.models;
  int partial = 0;
  for (const ModelCompleteness& model : *page.completeness) partial += model.Partial() ? 1 : 0;
  out += "<nav class=\"models\" aria-label=\"Models\"><h2>Models <span>" +
         GroupedNumber(static_cast<int>(models.size())) + "</span></h2><p class=\"mstat\">" +
         GroupedNumber(static_cast<int>(models.size()) - partial) + " complete, " + GroupedNumber(partial) +
         " partial</p><ol>\n";
  for (std::size_t m = 0; m < models.size(); ++m) {
    const ModelFacts& facts = models.Facts(m);
    const ModelCompleteness& completeness = (*page.completeness)[m];
    out += completeness.Partial() ? "<li class=\"p\">" : "<li>";
    out += "<a href=\"";
    AppendHtmlText(out, LineHref(page, facts.line));
    out += "\"><span class=\"mn\">";
    AppendHtmlText(out, facts.name);
    out += "</span><span class=\"mk\">";
    AppendHtmlText(out, facts.kind);
    out += "</span><span class=\"ms\">";
    AppendHtmlText(out, completeness.Describe());
    out += "</span></a></li>\n";
  }
  out += "</ol></nav>\n";
}

}  // namespace

std::vector<PagePart> PlanParts(std::size_t rows, const std::vector<ParsedDiagnostic>& diagnostics) {
  std::vector<PagePart> parts;
  if (rows <= kRowsPerPart) return parts;
  for (std::size_t first = 0; first < rows; first += kRowsPerPart) {
    PagePart part;
    part.firstRow = first;
    part.endRow = std::min(rows, first + kRowsPerPart);
    parts.push_back(part);
  }
  for (const ParsedDiagnostic& diagnostic : diagnostics) {
    if (diagnostic.line < 1 || static_cast<std::size_t>(diagnostic.line) > rows) continue;
    PagePart& part = parts[static_cast<std::size_t>(diagnostic.line - 1) / kRowsPerPart];
    if (diagnostic.severity == DiagnosticSeverity::Error) ++part.errors;
    if (diagnostic.severity == DiagnosticSeverity::Warning) ++part.warnings;
  }
  return parts;
}

std::string RenderFilePage(const FilePage& page) {
  const std::vector<ReportRow>& rows = page.rows->rows;
  const std::size_t firstRow = page.parts.empty() ? 0 : page.parts[page.part].firstRow;
  const std::size_t endRow = page.parts.empty() ? rows.size() : std::min(rows.size(), page.parts[page.part].endRow);
  std::string out;
  out.reserve(4096 + (endRow - firstRow) * 160);
  AppendPageStart(out, std::string(page.name) + " \u2013 zav-import report", FilePageScript());

  out += "<header class=\"top\"><p class=\"crumbs\"><a href=\"";
  out += page.indexHref;
  out += "\">\u2190 All files</a></p><h1>";
  AppendHtmlText(out, page.name);
  out += "</h1>\n";
  AppendCounts(out, page.counts);
  if (page.rows->approximate) {
    out +=
        "<p class=\"note\">Parts of the output could not be traced to their lines; they stand beside the line "
        "where their model starts.</p>\n";
  }
  if (!page.parts.empty()) AppendPager(out, page);
  out += "</header>\n";
  out += kFilterBar;

  out += "<div class=\"layout\">\n";
  AppendModelList(out, page);

  // Diagnostics by line, in the order filed; those about no line of the
  // file head its first page.
  std::vector<const ParsedDiagnostic*> diagnostics;
  for (const ParsedDiagnostic& diagnostic : *page.diagnostics) diagnostics.push_back(&diagnostic);
  std::stable_sort(diagnostics.begin(), diagnostics.end(),
                   [](const ParsedDiagnostic* a, const ParsedDiagnostic* b) { return a->line < b->line; });
  const auto onLine = [&](const ParsedDiagnostic* d) {
    return d->line >= 1 && static_cast<std::size_t>(d->line) <= rows.size();
  };

  std::string body;
  body.reserve((endRow - firstRow) * 160);
  std::vector<const ParsedDiagnostic*> fileDiagnostics;
  for (const ParsedDiagnostic* diagnostic : diagnostics) {
    if (!onLine(diagnostic)) fileDiagnostics.push_back(diagnostic);
  }
  if (!fileDiagnostics.empty() && page.part == 0) {
    body += "<div class=\"fd\">";
    for (const ParsedDiagnostic* diagnostic : fileDiagnostics) AppendDiagnostic(body, *diagnostic);
    body += "</div>\n";
  }
  body += "<p class=\"empty\">No line matches the filters.</p>\n";

  std::vector<bool> modelStarts(rows.size() + 1, false);
  for (std::size_t m = 0; m < page.models->size(); ++m) {
    const int line = page.models->Facts(m).line;
    if (line >= 1 && static_cast<std::size_t>(line) <= rows.size()) modelStarts[static_cast<std::size_t>(line)] = true;
  }
  auto next = std::find_if(diagnostics.begin(), diagnostics.end(), [&](const ParsedDiagnostic* d) {
    return onLine(d) && d->line > static_cast<int>(firstRow);
  });
  std::vector<const ParsedDiagnostic*> rowDiagnostics;
  FilterCounts filters;
  std::string block;
  for (std::size_t first = firstRow; first < endRow; first += kRowsPerBlock) {
    FilterCounts blockFilters;
    const std::size_t end = std::min(endRow, first + kRowsPerBlock);
    block.clear();
    for (std::size_t i = first; i < end; ++i) {
      rowDiagnostics.clear();
      for (; next != diagnostics.end() && (*next)->line == rows[i].number; ++next) rowDiagnostics.push_back(*next);
      AppendRow(block, rows[i], rowDiagnostics, modelStarts[static_cast<std::size_t>(rows[i].number)], blockFilters,
                filters);
    }
    body += "<div class=\"b\"" + BlockHeights(blockFilters) + ">\n";
    body += block;
    body += "</div>\n";
  }
  if (page.part + 1 < page.parts.size()) {
    const PagePart& nextPart = page.parts[page.part + 1];
    body += "<p class=\"next\"><a href=\"";
    AppendHtmlText(body, nextPart.href);
    body += "\">Next part: " + LineRange(nextPart) + " \u2192</a></p>\n";
  }

  static constexpr std::array<std::string_view, kFilters> kFilterNames = {
      "all", "warnings", "errors", "all-changed", "warnings-changed", "errors-changed"};
  out += "<main class=\"lines\" id=\"lines\"";
  for (std::size_t i = 0; i < kFilterNames.size(); ++i) {
    out += " data-" + std::string(kFilterNames[i]) + "=\"" + std::to_string(filters.rows[i]) + "\"";
  }
  out +=
      ">\n<div class=\"head\"><span>line</span><span>input, as read</span><span>line</span><span>output</span></div>\n";
  out += body;
  out += "</main>\n</div>\n";
  AppendPageEnd(out, FilePageScript());
  return out;
}

}  // namespace zav::cli
