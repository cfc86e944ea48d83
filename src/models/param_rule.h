#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace zav {

// What becomes of one model parameter.
enum class ParamAction : uint32_t {
  Keep = 0,            // stays as written
  NotSupported = 1,    // commented out, warning 23
  Rename = 2,          // its name becomes `target`
  MoveToInstance = 3,  // added to the referencing elements under `target`
  KeepChanged = 4,     // stays, but the card counts as changed
};

// One row of a parameter translation table, written {name, action, target}
// with a null target for none.
struct ParamRule {
  constexpr ParamRule() : action(ParamAction::Keep) {}
  constexpr ParamRule(std::string_view ruleName, ParamAction ruleAction, const char* ruleTarget)
      : name(ruleName), action(ruleAction), target(ruleTarget != nullptr ? std::string_view(ruleTarget) : std::string_view()) {}

  std::string_view name;  // as written in the input dialect, upper case
  ParamAction action;
  // The new name (Rename) or the instance name (MoveToInstance), else empty;
  // a view, so that a rename does not measure it each time.
  std::string_view target;
};

using ParamRuleTable = std::span<const ParamRule>;

// The first row whose name equals `name` without regard to case; none when
// the table does not know the parameter.
const ParamRule* FindRule(ParamRuleTable table, std::string_view name);

// For many lookups in one table, see RuleFinder (models/rule_index.h).

// The tables, one per model variant (and one per MOSFET level).
ParamRuleTable BjtRules();
ParamRuleTable DiodeRules();
ParamRuleTable JfetRules();
ParamRuleTable MosfetLevel1Rules();
ParamRuleTable MosfetLevel2Rules();
ParamRuleTable MosfetLevel3Rules();
ParamRuleTable MosfetLevel4Rules();
ParamRuleTable MosfetLevel7Rules();
// The MOSFET table of a level: 2, 3, 4 and 7 have their own, every other
// level (and a model without LEVEL, read as 1) takes the level 1 table.
ParamRuleTable MosfetRulesForLevel(int level);
ParamRuleTable CapacitorRules();
ParamRuleTable InductorRules();
ParamRuleTable ResistorRules();
ParamRuleTable CurrentSwitchRules();
ParamRuleTable VoltageSwitchRules();

}  // namespace zav
