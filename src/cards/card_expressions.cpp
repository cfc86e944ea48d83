// Card::RewriteBraceExpressions: a card's brace expressions in ngspice's
// spelling.
#include <string_view>

#include "cards/card.h"
#include "diagnostics/add_diagnostic.h"
#include "text/source_line.h"

namespace zav {

void Card::RewriteBraceExpressions() {
  bool holdsBrace = false;
  for (const SourceLine* line : lines) {
    if (line->kind != LineKind::Comment && line->text.find('{') != LineText::npos) {
      holdsBrace = true;
      break;
    }
  }
  if (!holdsBrace) return;
  Materialize();
  const ExpressionUse use = BraceExpressionUse();
  for (Token* token = tokens.front(); token != nullptr; token = token->next) {
    // The tokenizer makes a whole brace expression one Number token for
    // ngspice.
    if (token->kind != TokenKind::Number || token->text.empty() || token->text.front() != '{') continue;
    NgspiceExpression rewritten;
    const bool rewrote = RewriteForNgspice(token->text, use, rewritten);
    if (!rewritten.unknownFunction.empty()) {
      AddDiagnostic(MessageCode::NoNgspiceFunction, token->line, {rewritten.unknownFunction});
    }
    if (!rewrote) continue;
    tokens.SetText(token, rewritten.text);
    changed = true;
    AddDiagnostic(MessageCode::ExpressionRewritten, token->line, {rewritten.changes});
  }
}

}  // namespace zav
