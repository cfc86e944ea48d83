#include "models/param_rule.h"

#include <algorithm>
#include <vector>

#include "models/ngspice_rules.h"
#include "platform/ascii.h"
#include "platform/no_case_index.h"

namespace zav {
namespace {

// One table with its rows by name. The name of every row goes in first row
// first, so that a name listed twice resolves to its first row as a walk
// from the front would.
struct IndexedTable {
  explicit IndexedTable(ParamRuleTable rules) : table(rules) {
    byName.Reserve(rules.size());
    for (const ParamRule& rule : rules) {
      byName.Add(rule.name, &rule);
      longestName = std::max(longestName, rule.name.size());
    }
  }

  ParamRuleTable table;
  NoCaseIndex<const ParamRule*> byName;
  std::size_t longestName = 0;  // a longer parameter name is known to no row
};

const IndexedTable* IndexOf(ParamRuleTable table) {
  // Built once, on first use: the tables are constant.
  static const std::vector<IndexedTable> indexes = [] {
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
    return std::vector<IndexedTable>(std::begin(tables), std::end(tables));
  }();
  for (const IndexedTable& indexed : indexes) {
    if (indexed.table.data() == table.data() && indexed.table.size() == table.size()) return &indexed;
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

const ParamRule* FindRule(ParamRuleTable table, std::string_view name) {
  if (const IndexedTable* indexed = IndexOf(table)) {
    if (name.size() > indexed->longestName) return nullptr;
    const ParamRule* const* found = indexed->byName.Find(name);
    return found == nullptr ? nullptr : *found;
  }
  // A table of no model variant: the plain walk from the front.
  for (const ParamRule& rule : table) {
    if (EqualsNoCase(rule.name, name)) return &rule;
  }
  return nullptr;
}

}  // namespace zav
