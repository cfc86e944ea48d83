#include "models/rule_index.h"

#include <algorithm>
#include <array>
#include <stdexcept>

#include "platform/ascii.h"

namespace zav {

RuleIndex::RuleIndex(ParamRuleTable rules) : table_(rules) {
  // A slot holds a row number of 24 bits; the tables have a few hundred rows.
  if (rules.size() >= (std::size_t{1} << 24)) throw std::length_error("rule table too long to index");
  std::size_t shortRows = 0;
  for (const ParamRule& rule : rules) shortRows += ShortNames::Holds(rule.name.size()) ? 1 : 0;
  // Two spellings a row, at most half full: probes stay short.
  unsigned slotBits = 1;
  while ((std::size_t{1} << slotBits) < shortRows * 4) ++slotBits;
  slots_.assign(std::size_t{1} << slotBits, Slot{});
  short_.slots_ = slots_.data();
  short_.mask_ = slots_.size() - 1;
  short_.shift_ = 64 - slotBits;
  longNames_.Reserve(rules.size() - shortRows);
  // First row first: a name listed twice keeps its first row.
  for (std::size_t row = 0; row < rules.size(); ++row) {
    const std::string_view name = rules[row].name;
    longestName_ = std::max(longestName_, name.size());
    if (!ShortNames::Holds(name.size())) {
      longNames_.Add(name, &rules[row]);
      continue;
    }
    std::array<char, 8> lower{};
    std::transform(name.begin(), name.end(), lower.begin(), [](char c) { return IsAsciiUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; });
    const std::uint64_t upper = ascii_words::UpperCaseWord(ascii_words::LoadShort(name.data(), name.size()));
    Insert(upper, name.size(), row);
    Insert(ascii_words::LoadShort(lower.data(), name.size()), name.size(), row);
  }
}

void RuleIndex::Insert(std::uint64_t word, std::size_t size, std::size_t row) {
  std::size_t at = short_.SlotOf(word, size);
  while (slots_[at].rowPlusOne != 0 && !(slots_[at].word == word && slots_[at].size == size)) at = (at + 1) & short_.mask_;
  if (slots_[at].size == 0) {
    Slot& slot = slots_[at];
    slot.word = word;
    slot.noted = table_[row].action == ParamAction::Keep ? kKeeps : static_cast<std::int32_t>(row);
    slot.size = static_cast<std::uint32_t>(size);
    slot.rowPlusOne = static_cast<std::uint32_t>(row + 1);
  }
}

}  // namespace zav
