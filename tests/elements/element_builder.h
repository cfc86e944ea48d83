// Builds element cards from netlist text the way classification does.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "cards/card.h"
#include "elements/element_card.h"
#include "text/source_line.h"

namespace zav::testing {

// One card's lines (one line per "\n"-terminated piece of the text) and the
// element card the factory made of them, or none.
struct BuiltElement {
  std::deque<SourceLine> lines;
  std::unique_ptr<ElementCard> card;
};

inline LineKind KindOfLine(std::string_view text) {
  std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return LineKind::Comment;
  if (text[first] == '+') return LineKind::Continuation;
  if (text[first] == '*') return LineKind::Comment;
  return LineKind::Element;
}

inline std::unique_ptr<BuiltElement> BuildElement(std::string_view text) {
  auto built = std::make_unique<BuiltElement>();
  int32_t number = 1;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    end = end == std::string_view::npos ? text.size() : end + 1;
    std::string piece(text.substr(0, end));
    built->lines.push_back(SourceLine::MakeOwning(piece, number++, KindOfLine(piece)));
    text.remove_prefix(end);
  }
  Card generic;
  for (SourceLine& line : built->lines) generic.AddLine(&line);
  generic.Parse();
  built->card = ElementCard::Create(generic);
  return built;
}

}  // namespace zav::testing
