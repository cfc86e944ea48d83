#include "elements/subckt_call_card.h"

#include <iterator>
#include <string_view>

#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kSubcktCallFields[] = {
    {"Dummy", false, false, ElementFieldType::Node},
};

constexpr std::string_view kParamsKeyword = "PARAMS:";
constexpr std::string_view kTextKeyword = "TEXT:";

bool EndsInstanceNodes(const Token& token) {
  return EqualsNoCase(token.text, kParamsKeyword) || EqualsNoCase(token.text, kTextKeyword);
}

Token* FindFirst(const TokenList& tokens, std::string_view text) {
  for (Token* token = tokens.front(); token != nullptr; token = token->next) {
    if (EqualsNoCase(token->text, text)) return token;
  }
  return nullptr;
}

}  // namespace

void SubcktCallCard::Parse() {
  valid = true;
  Token* token = FirstToken();
  if (token == nullptr || token->kind != TokenKind::Name) {
    AddDiagnostic(29, FirstSignificantLine());
    valid = false;
    return;
  }
  nameToken = token;
  for (token = NextToken(); token != nullptr && !EndsInstanceNodes(*token); token = NextToken()) {
    pins.push_back(token);
  }
  // An instance with nothing before "PARAMS:", "TEXT:" or the end names no
  // subcircuit; it stays an instance without a model.
  if (pins.empty()) return;
  modelName = pins.back();
  pins.pop_back();
}

void SubcktCallCard::Resolve() {
  // The parse left the cursor on "PARAMS:" or "TEXT:", which go away below.
  tokenCursor = nullptr;
  if (Token* params = FindFirst(tokens, kParamsKeyword)) {
    changed = true;
    Token* following = tokens.Erase(params);
    if (following != nullptr && following->kind == TokenKind::Separator) {
      // A separator that ends the line also holds the line feed; dropping it
      // whole would join the next line, continuation mark included, onto
      // this one.
      std::string& text = following->text;
      std::size_t lineFeed = text.find('\n');
      if (lineFeed == std::string::npos) {
        tokens.Erase(following);
      } else {
        text.erase(0, lineFeed);
      }
    }
  }
  if (Token* text = FindFirst(tokens, kTextKeyword)) {
    CommentOutTokens(text, tokens.back());
  }
}

const ElementField* SubcktCallCard::FieldTable() const { return kSubcktCallFields; }

std::size_t SubcktCallCard::FieldCount() const { return std::size(kSubcktCallFields); }

}  // namespace zav
