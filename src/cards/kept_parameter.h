#pragma once

#include <cstdint>
#include <string_view>

#include "cards/token_kind.h"

namespace zav {

// A parameter as an edit adds it to a card (see Card::InsertParameters): its
// name, its value and the value's kind, the texts kept elsewhere. An AKO
// reference may copy a hundred parameters into a card, and its link keeps
// them till the card's tokens are made: so a copy is 24 bytes. Its texts are
// texts of tokens, which lie in one line each: no size comes near the limits.
struct KeptParameter {
  const char* name;
  const char* value;
  // A name is one word of a line, which the reader keeps under 512
  // characters; a value may be an expression joined from many lines.
  std::uint32_t nameSize : 24;
  std::uint32_t kind : 8;
  std::uint32_t valueSize;

  static KeptParameter Of(std::string_view name, std::string_view value, TokenKind kind) {
    return KeptParameter{name.data(), value.data(), static_cast<std::uint32_t>(name.size()),
                         static_cast<std::uint32_t>(kind), static_cast<std::uint32_t>(value.size())};
  }
  std::string_view Name() const { return std::string_view(name, nameSize); }
  std::string_view Value() const { return std::string_view(value, valueSize); }
  TokenKind Kind() const { return static_cast<TokenKind>(kind); }
};

}  // namespace zav
