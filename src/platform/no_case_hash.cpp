#include "platform/no_case_hash.h"

#include <cstdint>

namespace zav {

// FNV-1a over the upper-case bytes: names are short, and equal names in any
// letter case must land in the same bucket.
std::size_t NoCaseHash::operator()(std::string_view text) const {
  std::uint64_t hash = 14695981039346656037ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(AsciiToUpper(c));
    hash *= 1099511628211ull;
  }
  return static_cast<std::size_t>(hash);
}

}  // namespace zav
