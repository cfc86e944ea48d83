#include "models/bjt_model_card.h"

#include "models/ngspice_rules.h"
#include "platform/ascii.h"

namespace zav {

void BjtModelCard::Resolve() {
  TranslateParams();
  // A lateral PNP is a PNP whose substrate sits on the other side: the
  // target simulator has no LPNP type, only the substrate switch (ngspice's
  // SUBS too: 1 vertical, -1 lateral).
  if (modelType != nullptr && EqualsNoCase(modelType->text, "LPNP")) {
    changed = true;
    NoteTypeRename(HostTypeName());
    modelType->text = HostTypeName();
    AddParameter("SUBS", "-1", TokenKind::Number, "Updated from LPNP", true);
  }
}

ParamRuleTable BjtModelCard::RuleTable() {
  return target() == TranslationTarget::Ngspice ? NgspiceBjtRules() : BjtRules();
}

}  // namespace zav
