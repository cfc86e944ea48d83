#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/ascii.h"

namespace zav {

// Hash and equality of names without regard to ASCII letter case, for the
// lookups by name (models, parameters, rules). Both are transparent: a
// string_view finds a std::string key without a copy.
struct NoCaseHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const;
};

struct NoCaseEqual {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return EqualsNoCase(a, b); }
};

template <typename Value>
using NoCaseMap = std::unordered_map<std::string, Value, NoCaseHash, NoCaseEqual>;

using NoCaseSet = std::unordered_set<std::string, NoCaseHash, NoCaseEqual>;

}  // namespace zav
