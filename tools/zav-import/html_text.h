// Text from a model file made safe to stand in an HTML page: model files are
// untrusted, so every byte of them reaches a page only through here.
#pragma once

#include <string>
#include <string_view>

namespace zav::cli {

// Appends `bytes` as HTML text, fit for an element's content and for a
// quoted attribute value: & < > " ' and the line feed become character
// references. Valid UTF-8 passes through; a byte that is not part of valid
// UTF-8 is read as Windows code page 1252, which is what vendor files outside
// UTF-8 are written in (the five bytes that code page leaves undefined show
// as U+FFFD). Control characters but the tab and the line feed show as their
// Unicode control pictures (U+2400 + code, U+2421 for DEL), so that none is
// lost and none breaks the page.
void AppendHtmlText(std::string& out, std::string_view bytes);

std::string HtmlText(std::string_view bytes);

}  // namespace zav::cli
