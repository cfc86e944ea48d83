#include "models/param_rule.h"

#include "platform/ascii.h"

namespace zav {

// The tables are short and unsorted, and a name listed twice must resolve to
// its first row, so a plain walk from the front is the lookup.
const ParamRule* FindRule(ParamRuleTable table, std::string_view name) {
  for (const ParamRule& rule : table) {
    if (rule.name.size() == name.size() && EqualsNoCase(rule.name, name)) return &rule;
  }
  return nullptr;
}

}  // namespace zav
