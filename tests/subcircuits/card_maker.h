// Builds tokenized generic cards from literal lines, for the subcircuit and
// classification tests, and reads back the diagnostics they file.
#pragma once

#include <deque>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "cards/card.h"
#include "diagnostics/diagnostic_list.h"
#include "text/source_line.h"

namespace zav::testing {

class CardMaker {
 public:
  // One generic card from its physical lines (line feeds included where the
  // file has them), numbered on from the previous card, and tokenized.
  std::unique_ptr<Card> Generic(std::initializer_list<std::string_view> texts) {
    return Generic(std::vector<std::string_view>(texts));
  }
  std::unique_ptr<Card> Generic(const std::vector<std::string_view>& texts) {
    auto card = std::make_unique<Card>();
    for (std::string_view text : texts) {
      SourceLine& line = lines_.emplace_back(SourceLine::MakeOwning(text, ++number_, KindOf(text)));
      card->AddLine(&line);
    }
    card->Parse();
    return card;
  }

 private:
  static LineKind KindOf(std::string_view text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos || text[first] == '\n' || text[first] == '*' || text[first] == ';')
      return LineKind::Comment;
    if (text[first] == '+') return LineKind::Continuation;
    if (text[first] == '.') return LineKind::Control;
    return LineKind::Element;
  }

  std::deque<SourceLine> lines_;
  int number_ = 0;
};

// The diagnostics filed since the last Clear, as (line number, text).
inline std::vector<std::pair<int, std::string>> FiledDiagnostics() {
  std::vector<std::pair<int, std::string>> filed;
  TheDiagnosticList().ForEach([&](const Diagnostic& d) { filed.emplace_back(d.lineNumber, d.text); });
  return filed;
}

}  // namespace zav::testing
