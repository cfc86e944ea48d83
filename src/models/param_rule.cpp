#include "models/param_rule.h"

#include <algorithm>
#include <functional>
#include <vector>

#include "models/ngspice_rules.h"
#include "models/rule_index.h"
#include "platform/ascii.h"

namespace zav {
namespace {

// The indexes, and the same in the order of their tables' addresses, for a
// binary search: a table is looked up for every card translated.
struct TableIndexes {
  std::vector<RuleIndex> indexes;
  std::vector<const RuleIndex*> byAddress;
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
    TableIndexes made;
    made.indexes.reserve(std::size(tables));
    for (const ParamRuleTable rules : tables) made.indexes.emplace_back(rules);
    for (const RuleIndex& indexed : made.indexes) made.byAddress.push_back(&indexed);
    std::sort(made.byAddress.begin(), made.byAddress.end(), [](const RuleIndex* a, const RuleIndex* b) {
      return std::less<const ParamRule*>()(a->table().data(), b->table().data());
    });
    return made;
  }();
  const auto at = std::lower_bound(all.byAddress.begin(), all.byAddress.end(), table.data(),
                                   [](const RuleIndex* indexed, const ParamRule* data) {
                                     return std::less<const ParamRule*>()(indexed->table().data(), data);
                                   });
  // An empty table may share its address with another: the size must match
  // too.
  for (auto it = at; it != all.byAddress.end() && (*it)->table().data() == table.data(); ++it) {
    if ((*it)->table().size() == table.size()) return *it;
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

const ParamRule* RuleFinder::Find(std::string_view name) const {
  if (const auto* indexed = static_cast<const RuleIndex*>(indexed_)) return indexed->Find(name);
  // A table of no model variant: the plain walk from the front.
  for (const ParamRule& rule : table_) {
    if (EqualsNoCase(rule.name, name)) return &rule;
  }
  return nullptr;
}

}  // namespace zav
