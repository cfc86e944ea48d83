#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "models/param_rule.h"
#include "platform/ascii_words.h"
#include "platform/no_case_index.h"

namespace zav {

// One rule table's rows by name, built once for a table (see RuleFinder).
// Finds what a walk from the front finds: the first row whose name equals
// the name looked up without regard to case.
//
// A translation looks up every parameter of every model, so the common name,
// of one to eight bytes, is found by one word: its bytes as LoadShort reads
// them, upper-cased. Two names of one length are equal without regard to
// case exactly when their words are, so a slot whose word and length match
// is the row, without comparing characters. Longer names go through a
// NoCaseIndex.
//
// Most files write a name all in upper case or all in lower case: every row
// is in the index under both spellings, so that such a name is found by its
// word as read, before any case folding. Only a name found so is the row;
// any other is looked up by its upper-cased word.
class RuleIndex {
  struct Slot;

 public:
  explicit RuleIndex(ParamRuleTable rules);
  // ShortNames points into the slots, which a move keeps where they are.
  RuleIndex(const RuleIndex&) = delete;
  RuleIndex& operator=(const RuleIndex&) = delete;
  RuleIndex(RuleIndex&&) = default;
  RuleIndex& operator=(RuleIndex&&) = default;

  // FindRow, and whether the row found keeps its parameter as written
  // (ParamAction::Keep): a parse that notes rows asks both of every name,
  // and a name's slot holds both.
  struct FoundRow {
    std::ptrdiff_t row;
    bool keeps;
  };

  // What a parse notes of a parameter whose value is a number (see
  // ModelCard::kKeptAsWritten): the row found, kKeeps when that row keeps
  // its parameter as written, kNoRow for none. A name's slot holds it ready,
  // a free slot kNoRow.
  static constexpr std::int32_t kNoRow = -2;
  static constexpr std::int32_t kKeeps = -3;

  // The part of the index that finds a name of one to eight bytes, as
  // values: a walk that writes entries between its lookups keeps a copy in
  // registers instead of reading the index again after every write.
  class ShortNames {
   public:
    static bool Holds(std::size_t size) { return size >= 1 && size <= 8; }
    // For a name of one to eight bytes.
    FoundRow FindRowAndKeep(std::string_view name) const {
      const Slot& slot = Find(name);
      return {static_cast<std::ptrdiff_t>(slot.rowPlusOne) - 1, slot.noted == kKeeps};
    }
    // The row of a name of one to eight bytes, plus one; 0 for none.
    std::uint32_t RowPlusOne(std::string_view name) const { return Find(name).rowPlusOne; }
    // What a parse notes of a name of one to eight bytes whose value is a
    // number (see kKeeps).
    std::int32_t NotedForNumber(std::string_view name) const { return Find(name).noted; }

   private:
    friend class RuleIndex;
    // The slot of a name of one to eight bytes; a free one for none.
    const Slot& Find(std::string_view name) const {
      const std::uint64_t asRead = ascii_words::LoadShort(name.data(), name.size());
      std::size_t at = SlotOf(asRead, name.size());
      for (;; at = (at + 1) & mask_) {
        const Slot& slot = slots_[at];
        if (slot.word == asRead && slot.size == name.size()) return slot;
        if (slot.size == 0) break;
      }
      const std::uint64_t upper = ascii_words::UpperCaseWord(asRead);
      return upper == asRead ? slots_[at] : Probe(upper, name.size());
    }
    // The slot that holds `word` and `size`, or the free one the probe ends
    // at. A free slot has size 0, which no name has: a hit is told by the
    // key alone, and only a miss asks whether the slot is free.
    const Slot& Probe(std::uint64_t word, std::size_t size) const {
      for (std::size_t at = SlotOf(word, size);; at = (at + 1) & mask_) {
        const Slot& slot = slots_[at];
        if ((slot.word == word && slot.size == size) || slot.size == 0) return slot;
      }
    }
    // The top bits of a multiplicative hash of the word and the length.
    std::size_t SlotOf(std::uint64_t word, std::size_t size) const {
      return static_cast<std::size_t>(((word + size) * 0x9E3779B97F4A7C15ull) >> shift_);
    }

    const Slot* slots_ = nullptr;  // at least two
    std::size_t mask_ = 0;         // the number of slots less one
    unsigned shift_ = 0;           // 64 less the bits of a slot's number
  };
  ShortNames shortNames() const { return short_; }

  const ParamRule* Find(std::string_view name) const {
    if (ShortNames::Holds(name.size())) {
      const std::uint32_t rowPlusOne = short_.RowPlusOne(name);
      return rowPlusOne == 0 ? nullptr : &table_[rowPlusOne - 1];
    }
    const ParamRule* const* found = FindLong(name);
    return found == nullptr ? nullptr : *found;
  }

  // The number of the row Find finds, -1 for none: a walk that notes rows
  // gets them without turning an address back into a number.
  std::ptrdiff_t FindRow(std::string_view name) const {
    if (ShortNames::Holds(name.size())) return static_cast<std::ptrdiff_t>(short_.RowPlusOne(name)) - 1;
    const ParamRule* const* found = FindLong(name);
    return found == nullptr ? -1 : *found - table_.data();
  }

  FoundRow FindRowAndKeep(std::string_view name) const {
    if (ShortNames::Holds(name.size())) return short_.FindRowAndKeep(name);
    return FindLongRowAndKeep(name);
  }
  // FindRowAndKeep for a name of more than eight bytes.
  FoundRow FindLongRowAndKeep(std::string_view name) const {
    const ParamRule* const* found = FindLong(name);
    if (found == nullptr) return {-1, false};
    return {*found - table_.data(), (*found)->action == ParamAction::Keep};
  }

  ParamRuleTable table() const { return table_; }

 private:
  // A free slot has size 0 and row 0. Sixteen bytes: a table's slots are
  // read at every parameter of every card.
  struct Slot {
    std::uint64_t word = 0;
    std::int32_t noted = kNoRow;  // see kKeeps
    std::uint32_t size : 8 = 0;
    std::uint32_t rowPlusOne : 24 = 0;
  };

  // Puts `word` and `size` in the index for `row`, unless a row before it
  // is there already.
  void Insert(std::uint64_t word, std::size_t size, std::size_t row);
  const ParamRule* const* FindLong(std::string_view name) const {
    // A longer parameter name is known to no row.
    if (name.size() > longestName_) return nullptr;
    return longNames_.Find(name);
  }

  ParamRuleTable table_;
  std::vector<Slot> slots_;
  ShortNames short_;  // over slots_
  NoCaseIndex<const ParamRule*> longNames_;
  std::size_t longestName_ = 0;
};

// FindRule over one table, many times: a translation looks up every
// parameter of its card in the same table, whose index is found once here.
// Find is inline, so that the walk over a card's parameters calls nothing
// for a name of up to eight bytes.
class RuleFinder {
 public:
  explicit RuleFinder(ParamRuleTable table);
  const ParamRule* Find(std::string_view name) const {
    return indexed_ != nullptr ? indexed_->Find(name) : FindByWalk(name);
  }
  // The number of the row Find finds in the table, -1 for none.
  std::ptrdiff_t FindRow(std::string_view name) const {
    if (indexed_ != nullptr) return indexed_->FindRow(name);
    const ParamRule* rule = FindByWalk(name);
    return rule == nullptr ? -1 : rule - table_.data();
  }
  RuleIndex::FoundRow FindRowAndKeep(std::string_view name) const {
    if (indexed_ != nullptr) return indexed_->FindRowAndKeep(name);
    const ParamRule* rule = FindByWalk(name);
    if (rule == nullptr) return {-1, false};
    return {rule - table_.data(), rule->action == ParamAction::Keep};
  }
  ParamRuleTable table() const { return table_; }
  // The table's index; none for a table of no model variant.
  const RuleIndex* index() const { return indexed_; }

 private:
  // A table of no model variant: the plain walk from the front.
  const ParamRule* FindByWalk(std::string_view name) const;

  ParamRuleTable table_;
  const RuleIndex* indexed_;  // the table's index; none for a table of no model variant
};

}  // namespace zav
