#pragma once

#include <cstdint>

namespace zav {

struct Token;

// One parameter assignment of a card. Both tokens belong to the card's token
// list. `row` is the element field-table row that recorded the entry, or -1;
// for a model card, what its parse found in its translation table (see
// ModelCard::kKeptAsWritten).
struct ParamEntry {
  Token* name = nullptr;
  Token* value = nullptr;
  int32_t row = -1;
};

}  // namespace zav
