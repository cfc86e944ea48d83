#include "subcircuits/ends_card.h"

#include "cards/dialect_keywords.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
#include "text/source_line.h"

namespace zav {

EndsCard::EndsCard(Card& source, TakeOver) : Card(source, TakeOver{}) {
  kind = CardKind::Ends;
  Parse();
}

void EndsCard::Parse() {
  valid = true;
  nameToken = nullptr;
  Token* keyword = FirstToken();
  if (keyword == nullptr || keyword->kind != TokenKind::Keyword ||
      !StartsWithNoCase(keyword->text, kEndsKeywordPrefix)) {
    AddDiagnostic(MessageCode::MissingKeyword, FirstSignificantLine());
    valid = false;
    return;
  }
  // The name after .ENDS is optional and never checked against the
  // definition it closes; only a keyword in its place is an error.
  Token* name = NextToken();
  if (name == nullptr) return;
  if (name->kind == TokenKind::Keyword) {
    AddDiagnostic(MessageCode::MissingModelName, name->line);
    valid = false;
    return;
  }
  nameToken = name;
}

}  // namespace zav
