#include <gtest/gtest.h>

#include <initializer_list>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "models/ngspice_rules.h"
#include "models/param_rule.h"
#include "models/rule_index.h"
#include "platform/ascii.h"

namespace zav {
namespace {

struct Row {
  std::string name;
  ParamAction action;
  std::string target;  // empty for none
};

constexpr ParamAction kNo = ParamAction::NotSupported;
constexpr ParamAction kRen = ParamAction::Rename;
constexpr ParamAction kMove = ParamAction::MoveToInstance;

using Rows = std::vector<Row>;

Rows Join(std::initializer_list<Rows> parts) {
  Rows all;
  for (const Rows& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const Rows kTemperature = {
    {"T_ABS", kMove, "TEMP"},
    {"T_MEASURED", kRen, "TNOM"},
    {"T_REL_GLOBAL", kMove, "DTEMP"},
    {"T_REL_LOCAL", kNo, ""},
};

const Rows kMosfetFront = {
    {"GDSNOI", kNo, ""}, {"L", kMove, "L"}, {"N", kNo, ""}, {"NLEV", kNo, ""},
    {"RB", kNo, ""},     {"RDS", kNo, ""},  {"RG", kNo, ""}, {"TT", kNo, ""},
};

// The common MOSFET rows that are not Keep, in order.
const Rows kMosfetCommon = Join({kMosfetFront, kTemperature, {{"W", kMove, "W"}}});

struct TableCase {
  const char* label;
  ParamRuleTable (*table)();
  std::size_t count;
  const char* first;
  const char* last;
  Rows notKept;  // every row whose action is not Keep, in table order
};

std::vector<TableCase> Cases() {
  return {
      {"bjt", BjtRules, 73, "AF", "PT",
       Join({{{"CCS", kRen, "CJS"}, {"GAMMA", kNo, ""}, {"IK", kRen, "IKF"},
              {"C4", kRen, "ISC"}, {"C2", kRen, "ISE"}, {"MC", kRen, "MJC"},
              {"ME", kRen, "MJE"}, {"MS", kRen, "MJS"}, {"QCO", kNo, ""},
              {"RCO", kNo, ""}, {"TRM1", kRen, "TRBM1"}, {"TRM2", kRen, "TRBM2"}},
             kTemperature,
             {{"VA", kRen, "VAF"}, {"VB", kRen, "VAR"}, {"PC", kRen, "VJC"},
              {"PE", kRen, "VJE"}, {"PS", kRen, "VJS"}, {"VO", kNo, ""},
              {"XCJC2", kNo, ""}, {"PT", kRen, "XTI"}}})},
      {"diode", DiodeRules, 29, "AF", "XTI",
       Join({{{"IBVL", kNo, ""}, {"NBV", kNo, ""}, {"NBVL", kNo, ""},
              {"TBV1", kRen, "TBV"}, {"TRS1", kRen, "TRS"}},
             kTemperature})},
      {"jfet", JfetRules, 25, "AF", "XTI",
       Join({{{"ALPHA", kNo, ""}, {"BETATCE", kNo, ""}, {"ISR", kNo, ""}, {"M", kNo, ""},
              {"N", kNo, ""}, {"NR", kNo, ""}},
             kTemperature,
             {{"VK", kNo, ""}, {"VTOTC", kNo, ""}, {"XTI", kNo, ""}}})},
      {"mosfet level 1", MosfetLevel1Rules, 51, "AF", "XQC",
       Join({kMosfetCommon,
             {{"DELTA", kNo, ""}, {"NFS", kNo, ""}, {"UTRA", kNo, ""}, {"VMAX", kNo, ""}}})},
      {"mosfet level 2", MosfetLevel2Rules, 55, "AF", "XQC", kMosfetCommon},
      {"mosfet level 3", MosfetLevel3Rules, 54, "AF", "XQC",
       Join({kMosfetCommon, {{"UTRA", kNo, ""}}})},
      {"mosfet level 4", MosfetLevel4Rules, 96, "AF", "XPART", kMosfetCommon},
      {"mosfet level 7", MosfetLevel7Rules, 307, "CBD", "WWN",
       Join({kMosfetFront, kTemperature, {{"W", kMove, "W"}, {"BINUNIT", kNo, ""}}})},
      {"capacitor", CapacitorRules, 9, "C", "VC2",
       Join({{{"C", kNo, ""}, {"TC1", kMove, "TC"}, {"TC2", kMove, ""}},
             kTemperature,
             {{"VC1", kNo, ""}, {"VC2", kNo, ""}}})},
      {"inductor", InductorRules, 9, "L", "T_REL_LOCAL",
       Join({{{"L", kNo, ""}, {"IL1", kNo, ""}, {"IL2", kNo, ""}, {"TC1", kMove, "TC"},
              {"TC2", kMove, ""}},
             kTemperature})},
      {"resistor", ResistorRules, 8, "R", "T_REL_LOCAL",
       Join({{{"R", kNo, ""}, {"TCE", kNo, ""}}, kTemperature})},
      {"current switch", CurrentSwitchRules, 4, "IOFF", "RON",
       {{"IOFF", kRen, "IH"}, {"ION", kRen, "IT"}}},
      {"voltage switch", VoltageSwitchRules, 4, "ROFF", "VON",
       {{"VOFF", kRen, "VH"}, {"VON", kRen, "VT"}}},
  };
}

std::string Describe(const ParamRule& rule) {
  return std::string(rule.name) + " " + std::to_string(static_cast<uint32_t>(rule.action)) +
         " " + (rule.target.empty() ? std::string("-") : std::string(rule.target));
}

std::string Describe(const Row& row) {
  return row.name + " " + std::to_string(static_cast<uint32_t>(row.action)) + " " +
         (row.target.empty() ? "-" : row.target);
}

TEST(RuleTables, CountsEndsAndEveryChangingRowMatch) {
  for (const TableCase& c : Cases()) {
    SCOPED_TRACE(c.label);
    const ParamRuleTable table = c.table();
    ASSERT_EQ(table.size(), c.count);
    EXPECT_EQ(table.front().name, c.first);
    EXPECT_EQ(table.back().name, c.last);

    std::vector<std::string> actual;
    for (const ParamRule& rule : table) {
      if (rule.action != ParamAction::Keep) actual.push_back(Describe(rule));
    }
    std::vector<std::string> expected;
    for (const Row& row : c.notKept) expected.push_back(Describe(row));
    EXPECT_EQ(actual, expected);
  }
}

TEST(RuleTables, RowsAreWellFormed) {
  for (const TableCase& c : Cases()) {
    SCOPED_TRACE(c.label);
    std::set<std::string> seen;
    std::set<std::string> repeated;
    for (const ParamRule& rule : c.table()) {
      SCOPED_TRACE(rule.name);
      const std::string_view name = rule.name;
      ASSERT_FALSE(name.empty());
      // The lookup turns away longer names at once.
      EXPECT_LE(name.size(), 15u);
      for (char ch : name) {
        EXPECT_TRUE(IsAsciiUpper(ch) || IsAsciiDigit(ch) || ch == '_') << ch;
      }
      // Only renames and moves carry a target; of the moves, only the TC2
      // half of a merged TC pair goes without.
      const bool needsTarget = rule.action == ParamAction::Rename ||
                               (rule.action == ParamAction::MoveToInstance && name != "TC2");
      EXPECT_EQ(!rule.target.empty(), needsTarget);
      if (!seen.insert(std::string(name)).second) repeated.insert(std::string(name));
    }
    const std::set<std::string> expectedRepeats =
        c.table == MosfetLevel7Rules ? std::set<std::string>{"MJ", "MJSW", "PB", "PBSW"}
                                     : std::set<std::string>{};
    EXPECT_EQ(repeated, expectedRepeats);
  }
}

TEST(RuleTables, MobilityIsSpeltDifferentlyByLevel) {
  for (auto table : {MosfetLevel1Rules, MosfetLevel2Rules, MosfetLevel3Rules}) {
    EXPECT_NE(FindRule(table(), "UO"), nullptr);
    EXPECT_EQ(FindRule(table(), "U0"), nullptr);
  }
  for (auto table : {MosfetLevel4Rules, MosfetLevel7Rules}) {
    EXPECT_EQ(FindRule(table(), "UO"), nullptr);
    EXPECT_NE(FindRule(table(), "U0"), nullptr);
  }
  ASSERT_NE(FindRule(MosfetLevel4Rules(), "TEMP"), nullptr);
  EXPECT_EQ(FindRule(MosfetLevel7Rules(), "TEMP"), nullptr);
  ASSERT_NE(FindRule(MosfetLevel7Rules(), "TNOM"), nullptr);
  EXPECT_EQ(FindRule(MosfetLevel7Rules(), "TNOM")->action, ParamAction::Keep);
}

TEST(RuleTables, NoMosfetTableKeepsLengthOrWidthAsWritten) {
  // The L/W step passes over the parameters the parse noted as kept as
  // written: L and W must never be among them.
  for (int level = 0; level <= 8; ++level) {
    for (ParamRuleTable table : {MosfetRulesForLevel(level), NgspiceMosfetRulesForLevel(level)}) {
      for (std::string_view name : {"L", "W"}) {
        const ParamRule* rule = FindRule(table, name);
        EXPECT_TRUE(rule == nullptr || rule->action != ParamAction::Keep) << name << " at level " << level;
      }
    }
  }
}

TEST(FindRule, MatchesWholeNamesWithoutRegardToCase) {
  struct Lookup {
    ParamRuleTable (*table)();
    const char* name;
    const char* expectedRow;  // nullptr: not recognised
    ParamAction action;
  };
  const Lookup lookups[] = {
      {BjtRules, "VA", "VA", ParamAction::Rename},
      {BjtRules, "va", "VA", ParamAction::Rename},
      {BjtRules, "vAf", "VAF", ParamAction::Keep},
      {BjtRules, "VAFX", nullptr, ParamAction::Keep},  // a row name followed by more letters
      {BjtRules, "V", nullptr, ParamAction::Keep},     // a row name cut short
      {BjtRules, "", nullptr, ParamAction::Keep},
      {BjtRules, "t_measured", "T_MEASURED", ParamAction::Rename},
      {DiodeRules, "Ibv", "IBV", ParamAction::Keep},
      {DiodeRules, "ibvl", "IBVL", ParamAction::NotSupported},
      {MosfetLevel1Rules, "nfs", "NFS", ParamAction::NotSupported},
      {MosfetLevel2Rules, "nfs", "NFS", ParamAction::Keep},
      {MosfetLevel1Rules, "LEVELS", nullptr, ParamAction::Keep},
      {CapacitorRules, "tc2", "TC2", ParamAction::MoveToInstance},
      {ResistorRules, "Tc1", "TC1", ParamAction::Keep},
      {CurrentSwitchRules, "T_ABS", nullptr, ParamAction::Keep},
      {VoltageSwitchRules, "t_abs", nullptr, ParamAction::Keep},
      {VoltageSwitchRules, "von", "VON", ParamAction::Rename},
  };
  for (const Lookup& l : lookups) {
    SCOPED_TRACE(l.name);
    const ParamRule* rule = FindRule(l.table(), l.name);
    if (l.expectedRow == nullptr) {
      EXPECT_EQ(rule, nullptr);
      continue;
    }
    ASSERT_NE(rule, nullptr);
    EXPECT_EQ(rule->name, l.expectedRow);
    EXPECT_EQ(rule->action, l.action);
  }
  EXPECT_EQ(FindRule(ParamRuleTable{}, "VA"), nullptr);
}

TEST(FindRule, RepeatedNameResolvesToItsFirstRow) {
  const ParamRuleTable table = MosfetLevel7Rules();
  for (const char* name : {"MJ", "mjsw", "Pb", "PBSW"}) {
    SCOPED_TRACE(name);
    const ParamRule* rule = FindRule(table, name);
    ASSERT_NE(rule, nullptr);
    std::size_t firstIndex = table.size();
    for (std::size_t i = 0; i < table.size(); ++i) {
      if (EqualsNoCase(table[i].name, name)) {
        firstIndex = i;
        break;
      }
    }
    EXPECT_EQ(rule, &table[firstIndex]);
    EXPECT_LT(firstIndex, 25u);  // among the leading rows, ahead of the second copy
  }
}

// RuleFinder finds a table's index by the table's address: every table, host
// and ngspice, must give what a walk from the front gives, and a part of a
// table that begins at its first row (the same address, fewer rows) must not
// be taken for the whole table.
TEST(RuleFinder, AgreesWithAWalkFromTheFront) {
  auto walk = [](ParamRuleTable table, std::string_view name) -> const ParamRule* {
    for (const ParamRule& rule : table) {
      if (EqualsNoCase(rule.name, name)) return &rule;
    }
    return nullptr;
  };
  const ParamRuleTable tables[] = {
      BjtRules(),                 DiodeRules(),               JfetRules(),
      MosfetLevel1Rules(),        MosfetLevel2Rules(),        MosfetLevel3Rules(),
      MosfetLevel4Rules(),        MosfetLevel7Rules(),        CapacitorRules(),
      InductorRules(),            ResistorRules(),            CurrentSwitchRules(),
      VoltageSwitchRules(),       NgspiceBjtRules(),          NgspiceDiodeRules(),
      NgspiceJfetRules(),         NgspiceMosfetLevel1Rules(), NgspiceMosfetLevel2Rules(),
      NgspiceMosfetLevel3Rules(), NgspiceMosfetLevel4Rules(), NgspiceMosfetLevel7Rules(),
      NgspiceCapacitorRules(),    NgspiceInductorRules(),     NgspiceResistorRules(),
      NgspiceCurrentSwitchRules(), NgspiceVoltageSwitchRules(),
  };
  for (const ParamRuleTable whole : tables) {
    ASSERT_FALSE(whole.empty());
    for (const ParamRuleTable table : {whole, whole.first(whole.size() - 1), whole.subspan(1)}) {
      const RuleFinder finder(table);
      for (const ParamRule& row : whole) {
        std::string lower(row.name);
        for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        EXPECT_EQ(finder.Find(row.name), walk(table, row.name)) << row.name;
        EXPECT_EQ(finder.Find(lower), walk(table, lower)) << lower;
        EXPECT_EQ(FindRule(table, lower), walk(table, lower)) << lower;
      }
      EXPECT_EQ(finder.Find("NOT_A_PARAMETER_OF_ANY_MODEL"), nullptr);
    }
  }
  EXPECT_EQ(RuleFinder(ParamRuleTable{}).Find("IS"), nullptr);
}

// Names a lookup by word could take for a row: one byte off in bit 5 where
// that is no change of case ("[" is no upper-case "{"), the bytes of a short
// row read again at another length ("IS" and "ISS", "ABCD" and "ABCDABCD"
// give the same bytes as read), bytes above 0x7F, the empty name, and names
// past eight bytes.
TEST(RuleIndex, TellsApartNamesThatOnlyLookAlike) {
  constexpr ParamRule kRows[] = {
      {"IS", ParamAction::Keep, nullptr},
      {"A[B", ParamAction::Keep, nullptr},
      {"VTO_1", ParamAction::NotSupported, nullptr},
      {"ISABCDEFGH", ParamAction::Keep, nullptr},
      {"ISABCDEFGHIJKLMNO", ParamAction::Keep, nullptr},
      {"R\xC3\x84", ParamAction::Keep, nullptr},
      {"ABCD", ParamAction::Keep, nullptr},
      {"is", ParamAction::NotSupported, nullptr},          // a second row of a name
      {"isabcdefgh", ParamAction::NotSupported, nullptr},  // ... and of a long one
  };
  const RuleIndex index(kRows);
  struct Lookup {
    const char* name;
    int row;  // -1: none
  };
  const Lookup lookups[] = {
      {"IS", 0},
      {"iS", 0},
      {"is", 0},  // as written in the second row, but the first row's name
      {"Is", 0},
      {"ISS", -1},
      {"I", -1},
      {"a[b", 1},
      {"A{B", -1},
      {"a{b", -1},
      {"vto_1", 2},
      {"VTO\x7F" "1", -1},
      {"isabcdefgh", 3},
      {"ISABCDEFGI", -1},
      {"isabcdefghijklmno", 4},
      {"ISABCDEFGHIJKLMNP", -1},
      {"ISABCDEFGHIJKLMNOP", -1},
      {"r\xC3\x84", 5},
      {"R\xC3\xA4", -1},
      {"abcd", 6},
      {"aBcD", 6},
      {"A[b", 1},
      {"abcdabcd", -1},
      {"", -1},
  };
  for (const Lookup& lookup : lookups) {
    EXPECT_EQ(index.Find(lookup.name), lookup.row < 0 ? nullptr : &kRows[lookup.row]) << lookup.name;
    // Whether the row keeps its parameter is the row's own, not that of a
    // later row of the same name.
    const RuleIndex::FoundRow found = index.FindRowAndKeep(lookup.name);
    EXPECT_EQ(found.row, lookup.row) << lookup.name;
    EXPECT_EQ(found.keeps, lookup.row >= 0 && kRows[lookup.row].action == ParamAction::Keep) << lookup.name;
  }
}

}  // namespace
}  // namespace zav
