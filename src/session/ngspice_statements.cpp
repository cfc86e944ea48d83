#include "session/ngspice_statements.h"

#include <string>
#include <string_view>

#include "cards/card_store.h"
#include "cards/ngspice_expression.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
#include "text/source_line.h"

namespace zav {
namespace {

constexpr std::string_view kNgspiceStatements[] = {
    ".PARAM",
    ".FUNC",
};

}  // namespace

bool IsNgspiceStatement(const LineList& lines) {
  for (const SourceLine* line : lines) {
    if (line->kind == LineKind::Comment) continue;
    const std::string_view text = line->text;
    std::size_t begin = 0;
    while (begin < text.size() && IsAsciiSpace(text[begin])) ++begin;
    std::size_t end = begin;
    while (end < text.size() && !IsAsciiSpace(text[end])) ++end;
    const std::string_view word = text.substr(begin, end - begin);
    for (std::string_view statement : kNgspiceStatements) {
      if (EqualsNoCase(word, statement)) return true;
    }
    return false;
  }
  return false;
}

void PassStatementThrough(const LineList& lines, CardStore& store) {
  for (SourceLine* line : lines) {
    if (line->kind == LineKind::Comment) continue;
    line->kind = LineKind::Comment;
    if (line->isInlineComment) continue;
    const std::string_view text = line->text;
    std::string rewrittenLine;
    std::size_t copied = 0;
    for (std::size_t open = text.find('{'); open != std::string_view::npos; open = text.find('{', open)) {
      const std::size_t end = BraceExpressionEnd(text, open);
      NgspiceExpression rewritten;
      const bool rewrote = RewriteForNgspice(text.substr(open, end - open), ExpressionUse::Parameter, rewritten);
      if (!rewritten.unknownFunction.empty()) {
        AddDiagnostic(MessageCode::NoNgspiceFunction, line, {rewritten.unknownFunction});
      }
      if (rewrote) {
        AddDiagnostic(MessageCode::ExpressionRewritten, line, {rewritten.changes});
        rewrittenLine.append(text.substr(copied, open - copied));
        rewrittenLine += rewritten.text;
        copied = end;
      }
      open = end > open ? end : open + 1;
    }
    if (copied == 0) continue;
    rewrittenLine.append(text.substr(copied));
    line->SetKeptText(store.KeepText(rewrittenLine));
  }
}

}  // namespace zav
