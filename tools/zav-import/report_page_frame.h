// What every report page shares: a head that carries the style sheet inline
// and a policy that lets in nothing but the page's own style and script (no
// network, and no script a model file could smuggle in, should any text ever
// escape its escaping), and an end that carries the script.
#pragma once

#include <string>
#include <string_view>

#include "report_assets.h"

namespace zav::cli {

// Up to and including <body>. `title` is text from anywhere; it is escaped.
void AppendPageStart(std::string& out, std::string_view title, const ReportAsset& script);

// The script and the end of the document.
void AppendPageEnd(std::string& out, const ReportAsset& script);

// "1,234".
std::string GroupedNumber(int value);

}  // namespace zav::cli
