#include "report_assets.h"

#include <cstdint>

namespace zav::cli {
namespace {

constexpr std::string_view kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 0;
}

}  // namespace

std::string CspSource(const ReportAsset& asset) {
  std::string bytes;
  for (std::size_t i = 0; i + 1 < asset.sha256.size(); i += 2) {
    bytes += static_cast<char>(HexValue(asset.sha256[i]) * 16 + HexValue(asset.sha256[i + 1]));
  }
  std::string encoded = "'sha256-";
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t group = static_cast<std::uint8_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) group |= static_cast<std::uint8_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) group |= static_cast<std::uint8_t>(bytes[i + 2]);
    encoded += kBase64[(group >> 18) & 63];
    encoded += kBase64[(group >> 12) & 63];
    encoded += i + 1 < bytes.size() ? kBase64[(group >> 6) & 63] : '=';
    encoded += i + 2 < bytes.size() ? kBase64[group & 63] : '=';
  }
  return encoded + "'";
}

}  // namespace zav::cli
