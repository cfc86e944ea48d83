#include "models/param_rule.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <tuple>
#include <vector>

#include "models/ngspice_rules.h"
#include "models/rule_index.h"
#include "platform/ascii.h"

namespace zav {
namespace {

// The indexes, and the same by their tables' addresses, open-addressed: a
// table is looked up for every card translated.
struct TableIndexes {
  static constexpr unsigned kSlotBits = 6;  // at most half full

  std::vector<RuleIndex> indexes;
  std::array<const RuleIndex*, std::size_t{1} << kSlotBits> byAddress{};

  static std::size_t SlotOf(const ParamRule* data) {
    const auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(data));
    return static_cast<std::size_t>((address * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits));
  }
  static std::size_t NextSlot(std::size_t slot) { return (slot + 1) & ((std::size_t{1} << kSlotBits) - 1); }
};

const RuleIndex* IndexOf(ParamRuleTable table) {
  // Built once, on first use: the tables are constant.
  static const TableIndexes all = [] {
    const ParamRuleTable tables[] = {
        BjtRules(),          DiodeRules(),        JfetRules(),          MosfetLevel1Rules(),
        MosfetLevel2Rules(), MosfetLevel3Rules(), MosfetLevel4Rules(),  MosfetLevel7Rules(),
        CapacitorRules(),    InductorRules(),     ResistorRules(),      CurrentSwitchRules(),
        VoltageSwitchRules(),
        NgspiceBjtRules(),          NgspiceDiodeRules(),          NgspiceJfetRules(),
        NgspiceMosfetLevel1Rules(), NgspiceMosfetLevel2Rules(),   NgspiceMosfetLevel3Rules(),
        NgspiceMosfetLevel4Rules(), NgspiceMosfetLevel7Rules(),   NgspiceCapacitorRules(),
        NgspiceInductorRules(),     NgspiceResistorRules(),       NgspiceCurrentSwitchRules(),
        NgspiceVoltageSwitchRules(),
    };
    static_assert(std::size(tables) * 2 <= std::tuple_size_v<decltype(TableIndexes::byAddress)>);
    TableIndexes made;
    made.indexes.reserve(std::size(tables));
    for (const ParamRuleTable rules : tables) made.indexes.emplace_back(rules);
    for (const RuleIndex& indexed : made.indexes) {
      std::size_t slot = TableIndexes::SlotOf(indexed.table().data());
      while (made.byAddress[slot] != nullptr) slot = TableIndexes::NextSlot(slot);
      made.byAddress[slot] = &indexed;
    }
    return made;
  }();
  // An empty table may share its address with another: the size must match
  // too.
  for (std::size_t slot = TableIndexes::SlotOf(table.data()); all.byAddress[slot] != nullptr;
       slot = TableIndexes::NextSlot(slot)) {
    const ParamRuleTable indexed = all.byAddress[slot]->table();
    if (indexed.data() == table.data() && indexed.size() == table.size()) return all.byAddress[slot];
  }
  return nullptr;
}

}  // namespace

ParamRuleTable MosfetRulesForLevel(int level) {
  switch (level) {
    case 2: return MosfetLevel2Rules();
    case 3: return MosfetLevel3Rules();
    case 4: return MosfetLevel4Rules();
    case 7: return MosfetLevel7Rules();
    default: return MosfetLevel1Rules();
  }
}

ParamRuleTable NgspiceMosfetRulesForLevel(int level) {
  switch (level) {
    case 2: return NgspiceMosfetLevel2Rules();
    case 3: return NgspiceMosfetLevel3Rules();
    case 4: return NgspiceMosfetLevel4Rules();
    case 7: return NgspiceMosfetLevel7Rules();
    default: return NgspiceMosfetLevel1Rules();
  }
}

const ParamRule* FindRule(ParamRuleTable table, std::string_view name) { return RuleFinder(table).Find(name); }

RuleFinder::RuleFinder(ParamRuleTable table) : table_(table), indexed_(IndexOf(table)) {}

const ParamRule* RuleFinder::FindByWalk(std::string_view name) const {
  for (const ParamRule& rule : table_) {
    if (EqualsNoCase(rule.name, name)) return &rule;
  }
  return nullptr;
}

}  // namespace zav
