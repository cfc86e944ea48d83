#pragma once

#include <cstddef>
#include <string_view>

namespace zav {

enum class ElementFieldType : int {
  ModelName = 0,  // a Name or Number token; also becomes the card's modelName
  Number = 2,     // a Number token only
  Node = 3,       // a Name or Number token (a node or element name)
};

// One row of an element class's field table.
struct ElementField {
  std::string_view name;  // quoted in diagnostics; the keyword itself for keyword fields
  bool required;
  bool keyword;      // written as NAME=value, in any order and any letter case
  ElementFieldType type;
};

}  // namespace zav
