#include "report_index_page.h"

#include "html_text.h"
#include "report_page_frame.h"

namespace zav::cli {
namespace {

void AppendCountCells(std::string& out, const ReportCounts& counts) {
  for (const ReportCountColumn& column : ReportCountColumns()) {
    const int value = column.value(counts);
    out += "<td data-v=\"" + std::to_string(value) + "\"";
    if (value == 0) {
      out += " class=\"zero\"";
    } else if (column.tone == "e" || column.tone == "w") {
      out += " class=\"" + std::string(column.tone) + "\"";
    }
    out += ">" + GroupedNumber(value) + "</td>";
  }
}

}  // namespace

std::string RenderIndexPage(const std::vector<IndexEntry>& files) {
  std::string out;
  AppendPageStart(out, "zav-import report", IndexPageScript());
  ReportCounts total;
  int read = 0;
  for (const IndexEntry& file : files) {
    if (!file.href.empty()) {
      total.Add(file.counts);
      ++read;
    }
  }
  out += "<header class=\"top\"><h1>zav-import report</h1><p class=\"note\">";
  out += GroupedNumber(static_cast<int>(files.size()));
  out += files.size() == 1 ? " file" : " files";
  if (read != static_cast<int>(files.size()))
    out += ", " + GroupedNumber(static_cast<int>(files.size()) - read) + " not read";
  out += ". Click a heading to sort by it; a file's name opens its page.</p></header>\n";

  out += "<table class=\"files\"><thead><tr><th scope=\"col\"><button type=\"button\">file</button></th>";
  for (const ReportCountColumn& column : ReportCountColumns()) {
    out += "<th scope=\"col\" title=\"" + std::string(column.label) + "\"><button type=\"button\">" +
           std::string(column.heading) + "</button></th>";
  }
  out += "</tr></thead>\n<tbody>\n";
  const int columns = static_cast<int>(ReportCountColumns().size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    const IndexEntry& file = files[i];
    out += file.href.empty() ? "<tr class=\"unread\"" : "<tr";
    out += " data-order=\"" + std::to_string(i) + "\"><td>";
    if (file.href.empty()) {
      AppendHtmlText(out, file.name);
      out += "</td><td class=\"unread\" colspan=\"" + std::to_string(columns) + "\">not read: ";
      AppendHtmlText(out, file.problem);
      out += "</td></tr>\n";
      continue;
    }
    out += "<a href=\"";
    AppendHtmlText(out, file.href);
    out += "\">";
    AppendHtmlText(out, file.name);
    out += "</a></td>";
    AppendCountCells(out, file.counts);
    out += "</tr>\n";
  }
  out += "</tbody>\n<tfoot><tr><td>total</td>";
  AppendCountCells(out, total);
  out += "</tr></tfoot></table>\n";
  AppendPageEnd(out, IndexPageScript());
  return out;
}

}  // namespace zav::cli
