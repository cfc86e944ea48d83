#include "elements/voltage_switch_card.h"

#include <iterator>
#include <string>
#include <string_view>

#include "diagnostics/add_diagnostic.h"
#include "text/source_line.h"

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kVoltageSwitchFields[] = {
    {"CtlVoltPos", true, false, ElementFieldType::Node},
    {"CtlVoltNeg", true, false, ElementFieldType::Node},
    {"ModelName", true, false, ElementFieldType::ModelName},
};

// A separator loses its brackets (keeping one blank at least); a word's
// commas become blanks.
std::string Unbracketed(const Token& token) {
  std::string out;
  for (char c : token.text) {
    if (c == '(' || c == ')') continue;
    out += c == ',' ? ' ' : c;
  }
  if (token.kind == TokenKind::Separator && out.find_first_of(" \t\n") == std::string::npos) out += ' ';
  return out;
}

}  // namespace

void VoltageSwitchCard::Resolve() {
  if (target() != TranslationTarget::Ngspice) return;
  bool bracketed = false;
  for (const SourceLine* line : lines) {
    if (line->kind != LineKind::Comment && line->text.find('(') != LineText::npos) bracketed = true;
  }
  if (!bracketed) return;
  Materialize();
  if (nameToken == nullptr) return;
  Token* first = nullptr;
  Token* last = nullptr;
  for (Token* token = nameToken->next; token != nullptr; token = token->next) {
    if (token->kind == TokenKind::Comment || token->kind == TokenKind::Newline) continue;
    const std::string_view text = token->text;
    if (text.find_first_of("(),") == std::string_view::npos) continue;
    if (first == nullptr) first = token;
    last = token;
  }
  if (first == nullptr) return;
  std::string before;
  for (Token* token = first;; token = token->next) {
    before += token->text;
    if (token == last) break;
  }
  for (Token* token = first;; token = token->next) {
    if (token->kind != TokenKind::Comment && token->text.find_first_of("(),") != std::string_view::npos) {
      tokens.SetText(token, Unbracketed(*token));
    }
    if (token == last) break;
  }
  std::string after;
  for (Token* token = first;; token = token->next) {
    after += token->text;
    if (token == last) break;
  }
  changed = true;
  auto trimmed = [](std::string text) {
    const std::size_t begin = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ');
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
  };
  AddDiagnostic(MessageCode::ElementParameterRewritten, first->line, {trimmed(before), trimmed(after)});
}

const ElementField* VoltageSwitchCard::FieldTable() const { return kVoltageSwitchFields; }

std::size_t VoltageSwitchCard::FieldCount() const { return std::size(kVoltageSwitchFields); }

}  // namespace zav
