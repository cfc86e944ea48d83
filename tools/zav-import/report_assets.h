// The style sheet and scripts of the report pages (tools/zav-import/report/),
// built into zav-import so that every page carries them inline and a report
// needs nothing beside it.
#pragma once

#include <string>
#include <string_view>

namespace zav::cli {

struct ReportAsset {
  std::string_view text;
  std::string_view sha256;  // of `text`, in hexadecimal
};

const ReportAsset& ReportStyleSheet();
const ReportAsset& FilePageScript();
const ReportAsset& IndexPageScript();

// "'sha256-BASE64'": the source a Content-Security-Policy allows for an
// inline element whose text is exactly the asset's.
std::string CspSource(const ReportAsset& asset);

}  // namespace zav::cli
