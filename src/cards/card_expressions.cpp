// Card::RewriteBraceExpressions: a card's brace expressions in ngspice's
// spelling.
#include <string>
#include <string_view>

#include "cards/card.h"
#include "diagnostics/add_diagnostic.h"
#include "text/source_line.h"

namespace zav {
namespace {

bool StartsBraceExpression(const Token& token) {
  return token.kind == TokenKind::Number && !token.text.empty() && token.text.front() == '{';
}

// The piece that continues an expression left open on the line before: the
// next token that is neither blank, line feed nor continuation mark (the
// tokenizer puts it first on the continuation line). None when a comment
// line or anything else comes first.
Token* ContinuingPiece(Token* piece) {
  for (Token* token = piece->next; token != nullptr; token = token->next) {
    if (token->kind == TokenKind::Separator || token->kind == TokenKind::Newline ||
        token->kind == TokenKind::Continuation) {
      continue;
    }
    return token->kind == TokenKind::Number ? token : nullptr;
  }
  return nullptr;
}

}  // namespace

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
    // ngspice, or one per line when it spans lines.
    if (!StartsBraceExpression(*token)) continue;
    std::string whole(token->text);
    Token* last = token;
    for (int open = OpenBraces(token->text); open > 0;) {
      Token* piece = ContinuingPiece(last);
      if (piece == nullptr) break;
      whole += ' ';
      whole += piece->text;
      open = OpenBraces(whole);
      last = piece;
    }

    NgspiceExpression rewritten;
    const bool rewrote = RewriteForNgspice(whole, use, rewritten);
    if (!rewritten.unknownFunction.empty()) {
      AddDiagnostic(MessageCode::NoNgspiceFunction, token->line, {rewritten.unknownFunction});
    }
    if (rewrote) {
      // An expression rewritten whole is written on its first line; its
      // other lines keep what follows it.
      while (token->next != nullptr && last != token) {
        Token* gone = token->next;
        if (tokenCursor() == gone) SetTokenCursor(nullptr);
        if (gone == last) last = token;
        tokens.Erase(gone);
      }
      tokens.SetText(token, rewritten.text);
      changed = true;
      AddDiagnostic(MessageCode::ExpressionRewritten, token->line, {rewritten.changes});
    }
    token = last;
  }
}

}  // namespace zav
