#pragma once

#include "models/param_rule.h"

namespace zav {

// The translation tables for ngspice, one per model variant (and one per
// MOSFET level). Each has the rows of the host table of the same type, in the
// same order, with what ngspice's device model makes of each name: the names
// are the dialect's, so which parameters a card knows does not depend on the
// target.
ParamRuleTable NgspiceBjtRules();
ParamRuleTable NgspiceDiodeRules();
ParamRuleTable NgspiceJfetRules();
ParamRuleTable NgspiceMosfetLevel1Rules();
ParamRuleTable NgspiceMosfetLevel2Rules();
ParamRuleTable NgspiceMosfetLevel3Rules();
ParamRuleTable NgspiceMosfetLevel4Rules();
ParamRuleTable NgspiceMosfetLevel7Rules();
// The MOSFET table of a level, chosen as MosfetRulesForLevel chooses.
ParamRuleTable NgspiceMosfetRulesForLevel(int level);
ParamRuleTable NgspiceCapacitorRules();
ParamRuleTable NgspiceInductorRules();
ParamRuleTable NgspiceResistorRules();
ParamRuleTable NgspiceCurrentSwitchRules();
ParamRuleTable NgspiceVoltageSwitchRules();

}  // namespace zav
