#include "html_text.h"

#include <array>
#include <cstdint>

namespace zav::cli {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252 bytes 0x80..0x9F, one row per byte; the rest of the code
// page's upper half is Latin-1, whose code points equal the bytes.
constexpr std::array<char32_t, 32> kWindows1252 = {
    0x20AC,        // 0x80 euro sign
    kReplacement,  // 0x81 undefined
    0x201A,        // 0x82 single low-9 quotation mark
    0x0192,        // 0x83 f with hook
    0x201E,        // 0x84 double low-9 quotation mark
    0x2026,        // 0x85 horizontal ellipsis
    0x2020,        // 0x86 dagger
    0x2021,        // 0x87 double dagger
    0x02C6,        // 0x88 modifier letter circumflex
    0x2030,        // 0x89 per mille sign
    0x0160,        // 0x8A S with caron
    0x2039,        // 0x8B single left-pointing angle quotation mark
    0x0152,        // 0x8C ligature OE
    kReplacement,  // 0x8D undefined
    0x017D,        // 0x8E Z with caron
    kReplacement,  // 0x8F undefined
    kReplacement,  // 0x90 undefined
    0x2018,        // 0x91 left single quotation mark
    0x2019,        // 0x92 right single quotation mark
    0x201C,        // 0x93 left double quotation mark
    0x201D,        // 0x94 right double quotation mark
    0x2022,        // 0x95 bullet
    0x2013,        // 0x96 en dash
    0x2014,        // 0x97 em dash
    0x02DC,        // 0x98 small tilde
    0x2122,        // 0x99 trade mark sign
    0x0161,        // 0x9A s with caron
    0x203A,        // 0x9B single right-pointing angle quotation mark
    0x0153,        // 0x9C ligature oe
    kReplacement,  // 0x9D undefined
    0x017E,        // 0x9E z with caron
    0x0178,        // 0x9F Y with diaeresis
};

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// The length of the well-formed UTF-8 sequence at the start of `bytes`
// (shortest form, no surrogate, at most U+10FFFF); 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view bytes) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // shorter forms
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
  } else {
    return 0;
  }
  if (bytes.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (!IsContinuation(byte(i))) return 0;
  }
  return length;
}

}  // namespace

void AppendHtmlText(std::string& out, std::string_view bytes) {
  out.reserve(out.size() + bytes.size());
  std::size_t at = 0;
  while (at < bytes.size()) {
    const auto byte = static_cast<unsigned char>(bytes[at]);
    if (byte >= 0x80) {
      if (const std::size_t length = Utf8SequenceLength(bytes.substr(at)); length > 0) {
        out.append(bytes.substr(at, length));
        at += length;
      } else {
        AppendUtf8(out, byte < 0xA0 ? kWindows1252[byte - 0x80] : static_cast<char32_t>(byte));
        ++at;
      }
      continue;
    }
    switch (byte) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      case '\n':
        // As a reference, so that every line of a page starts with its own
        // markup and none with a line of a model file: zav-import -r never
        // takes a page of an earlier report for a model file.
        out += "&#10;";
        break;
      case '\t':
        out += '\t';
        break;
      default:
        if (byte < 0x20) {
          AppendUtf8(out, 0x2400 + byte);
        } else if (byte == 0x7F) {
          AppendUtf8(out, 0x2421);
        } else {
          out += static_cast<char>(byte);
        }
    }
    ++at;
  }
}

std::string HtmlText(std::string_view bytes) {
  std::string out;
  AppendHtmlText(out, bytes);
  return out;
}

}  // namespace zav::cli
