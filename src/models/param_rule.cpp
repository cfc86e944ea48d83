#include "models/param_rule.h"

#include <array>
#include <string>
#include <unordered_map>

#include "platform/ascii.h"

namespace zav {
namespace {

// No rule name is longer than this; a longer parameter name is known to no
// table.
constexpr std::size_t kLongestRuleName = 15;

using RuleIndex = std::unordered_map<std::string, const ParamRule*>;

// The upper-case name of every row, first row first, so that a name listed
// twice resolves to its first row as a walk from the front would.
RuleIndex BuildIndex(ParamRuleTable table) {
  RuleIndex index;
  index.reserve(table.size());
  for (const ParamRule& rule : table) {
    std::string key(rule.name);
    for (char& c : key) c = AsciiToUpper(c);
    index.emplace(std::move(key), &rule);
  }
  return index;
}

const RuleIndex* IndexOf(ParamRuleTable table) {
  // Built once, on first use: the tables are constant.
  static const std::array<std::pair<ParamRuleTable, RuleIndex>, 13> indexes = [] {
    const std::array<ParamRuleTable, 13> tables = {
        BjtRules(),         DiodeRules(),        JfetRules(),       MosfetLevel1Rules(), MosfetLevel2Rules(),
        MosfetLevel3Rules(), MosfetLevel4Rules(), MosfetLevel7Rules(), CapacitorRules(),  InductorRules(),
        ResistorRules(),    CurrentSwitchRules(), VoltageSwitchRules(),
    };
    std::array<std::pair<ParamRuleTable, RuleIndex>, 13> built;
    for (std::size_t i = 0; i < tables.size(); ++i) built[i] = {tables[i], BuildIndex(tables[i])};
    return built;
  }();
  for (const auto& [indexed, index] : indexes) {
    if (indexed.data() == table.data() && indexed.size() == table.size()) return &index;
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

const ParamRule* FindRule(ParamRuleTable table, std::string_view name) {
  if (const RuleIndex* index = IndexOf(table)) {
    if (name.size() > kLongestRuleName) return nullptr;
    std::string key(name);
    for (char& c : key) c = AsciiToUpper(c);
    const auto found = index->find(key);
    return found == index->end() ? nullptr : found->second;
  }
  // A table of no model variant: the plain walk from the front.
  for (const ParamRule& rule : table) {
    if (rule.name.size() == name.size() && EqualsNoCase(rule.name, name)) return &rule;
  }
  return nullptr;
}

}  // namespace zav
