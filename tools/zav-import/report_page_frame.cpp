#include "report_page_frame.h"

#include "html_text.h"

namespace zav::cli {

void AppendPageStart(std::string& out, std::string_view title, const ReportAsset& script) {
  const ReportAsset& style = ReportStyleSheet();
  out += "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
  out += "<meta http-equiv=\"Content-Security-Policy\" content=\"default-src 'none'; style-src ";
  out += CspSource(style);
  out += "; script-src ";
  out += CspSource(script);
  out += "; base-uri 'none'; form-action 'none'\">\n";
  out += "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  out += "<meta name=\"generator\" content=\"zav-import\">\n<title>";
  AppendHtmlText(out, title);
  out += "</title>\n<style>";
  out += style.text;
  out += "</style>\n</head>\n<body>\n";
}

void AppendPageEnd(std::string& out, const ReportAsset& script) {
  out += "<script>";
  out += script.text;
  out += "</script>\n</body>\n</html>\n";
}

std::string GroupedNumber(int value) {
  std::string digits = std::to_string(value < 0 ? -static_cast<long long>(value) : value);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return value < 0 ? "-" + grouped : grouped;
}

}  // namespace zav::cli
