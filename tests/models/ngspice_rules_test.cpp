#include <gtest/gtest.h>

#include <cstddef>
#include <string>

#include "models/ngspice_rules.h"
#include "models/param_rule.h"

namespace zav {
namespace {

struct TablePair {
  const char* label;
  ParamRuleTable host;
  ParamRuleTable ngspice;
};

const TablePair kPairs[] = {
    {"bjt", BjtRules(), NgspiceBjtRules()},
    {"diode", DiodeRules(), NgspiceDiodeRules()},
    {"jfet", JfetRules(), NgspiceJfetRules()},
    {"mosfet 1", MosfetLevel1Rules(), NgspiceMosfetLevel1Rules()},
    {"mosfet 2", MosfetLevel2Rules(), NgspiceMosfetLevel2Rules()},
    {"mosfet 3", MosfetLevel3Rules(), NgspiceMosfetLevel3Rules()},
    {"mosfet 4", MosfetLevel4Rules(), NgspiceMosfetLevel4Rules()},
    {"mosfet 7", MosfetLevel7Rules(), NgspiceMosfetLevel7Rules()},
    {"capacitor", CapacitorRules(), NgspiceCapacitorRules()},
    {"inductor", InductorRules(), NgspiceInductorRules()},
    {"resistor", ResistorRules(), NgspiceResistorRules()},
    {"current switch", CurrentSwitchRules(), NgspiceCurrentSwitchRules()},
    {"voltage switch", VoltageSwitchRules(), NgspiceVoltageSwitchRules()},
};

// Which parameters a card knows (a tag or an error 24, a value that must be a
// number) is decided on the host table whatever the target: the ngspice
// table must name the same parameters, so it holds the host table's rows.
TEST(NgspiceRuleTables, NameTheHostTablesParametersRowForRow) {
  for (const TablePair& pair : kPairs) {
    SCOPED_TRACE(pair.label);
    ASSERT_EQ(pair.ngspice.size(), pair.host.size());
    for (std::size_t i = 0; i < pair.host.size(); ++i) {
      EXPECT_EQ(pair.ngspice[i].name, pair.host[i].name) << "row " << i;
    }
  }
}

TEST(NgspiceRuleTables, NameATargetExactlyWhereTheActionNeedsOne) {
  for (const TablePair& pair : kPairs) {
    SCOPED_TRACE(pair.label);
    for (const ParamRule& rule : pair.ngspice) {
      const bool needsTarget = rule.action == ParamAction::Rename || rule.action == ParamAction::MoveToInstance;
      EXPECT_EQ(!rule.target.empty(), needsTarget) << rule.name;
      EXPECT_NE(rule.action, ParamAction::KeepChanged) << rule.name;
      // ngspice's instances have no TC to merge a pair into: the pair stays.
      if (rule.name == "TC1" || rule.name == "TC2") {
        EXPECT_EQ(rule.action, ParamAction::Keep);
      }
    }
  }
}

TEST(NgspiceRuleTables, AreFoundByNameWithoutRegardToCase) {
  const ParamRule* rule = FindRule(NgspiceMosfetLevel7Rules(), "jssw");
  ASSERT_NE(rule, nullptr);
  EXPECT_EQ(rule->action, ParamAction::Rename);
  EXPECT_EQ(rule->target, "JSW");
  EXPECT_EQ(FindRule(NgspiceMosfetLevel7Rules(), "VERSION"), nullptr);
  // Levels without a table of their own take level 1's, as for the host.
  EXPECT_EQ(NgspiceMosfetRulesForLevel(0).data(), NgspiceMosfetLevel1Rules().data());
  EXPECT_EQ(NgspiceMosfetRulesForLevel(7).data(), NgspiceMosfetLevel7Rules().data());
}

}  // namespace
}  // namespace zav
