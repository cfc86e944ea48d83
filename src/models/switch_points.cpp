// ModelCard::TranslateSwitchForNgspice: a VSWITCH or ISWITCH model as
// ngspice's SW or CSW.
//
// The dialect's switch is fully on from VON (ION) on and fully off from VOFF
// (IOFF) on; in between its resistance glides from one to the other, with no
// memory of where it came from. ngspice's switch has two states and a
// hysteresis: it turns on above VT+VH and off below VT-VH, and in between it
// keeps the state it had. With VT the middle of the two points and VH half
// their distance, both switches are fully on and fully off at the same control
// values, and agree everywhere outside the window between them. Inside it,
// ngspice's resistance is RON or ROFF, not a value between; an operating point
// that starts inside it finds the switch off unless the element says ON; and
// the jump may cost a transient analysis some short time steps where the
// dialect's glide cost none.
//
// A dialect switch with VON below VOFF is on at low control values. ngspice's
// hysteresis cannot be negative, so such a switch is written with the points
// in their order and its two resistances swapped: on above VOFF is the
// dialect's off. That needs the points' values; from expressions, the points
// are taken to be in the usual order.
#include <optional>
#include <string>

#include "diagnostics/add_diagnostic.h"
#include "models/model_card.h"
#include "models/spice_number.h"

namespace zav {
namespace {

// The dialect's resistances when the model omits them. ngspice's RON is the
// same; its ROFF is 1e12.
constexpr std::string_view kRonDefault = "1";
constexpr std::string_view kRoffDefault = "1E6";

struct SwitchPoints {
  std::string threshold;
  std::string hysteresis;
  bool inverted = false;
};

// A value as it stands inside an expression: a number by its value (a unit
// or scale suffix reads differently there), an expression by what its braces
// hold.
std::string Operand(std::string_view value) {
  if (const std::optional<double> number = ParseSpiceNumber(value)) return FormatSpiceNumber(*number);
  if (value.size() >= 2 && value.front() == '{' && value.back() == '}') value = value.substr(1, value.size() - 2);
  return std::string(value);
}

SwitchPoints WorkOutPoints(std::string_view on, std::string_view off) {
  const std::optional<double> onValue = ParseSpiceNumber(on);
  const std::optional<double> offValue = ParseSpiceNumber(off);
  if (onValue && offValue) {
    const bool inverted = *onValue < *offValue;
    const double distance = inverted ? *offValue - *onValue : *onValue - *offValue;
    return {FormatSpiceNumber((*onValue + *offValue) / 2), FormatSpiceNumber(distance / 2), inverted};
  }
  const std::string a = Operand(on);
  const std::string b = Operand(off);
  return {"{((" + a + ")+(" + b + "))/2}", "{((" + a + ")-(" + b + "))/2}", false};
}

std::string_view TextOr(const Token* value, std::string_view fallback) {
  return value != nullptr ? std::string_view(value->text) : fallback;
}

// A parameter's value token, none without the parameter. A value that is no
// number is a tag an AKO reference copied: the translation pass comments it
// out, and its tokens with it.
Token* ValueOf(ParamEntry* entry) {
  if (entry == nullptr || entry->value == nullptr || entry->value->kind != TokenKind::Number) return nullptr;
  return entry->value;
}

}  // namespace

void ModelCard::TranslateSwitchForNgspice(const SwitchParameters& names) {
  Materialize();
  // The value tokens stay while the translation pass renames their names.
  Token* on = ValueOf(FindParam(names.on));
  Token* off = ValueOf(FindParam(names.off));
  Token* ron = ValueOf(FindParam("RON"));
  Token* roff = ValueOf(FindParam("ROFF"));
  const SwitchPoints points = WorkOutPoints(TextOr(on, names.onDefault), TextOr(off, names.offDefault));
  const std::string ronText(TextOr(ron, kRonDefault));
  const std::string roffText(TextOr(roff, kRoffDefault));

  RenameTypeAndTranslate();

  const SourceLine* typeLine = modelType != nullptr ? modelType->line : nullptr;
  const SourceLine* pointsLine = on != nullptr ? on->line : off != nullptr ? off->line : typeLine;
  std::string written(names.threshold);
  written += '=';
  written += points.threshold;
  written += ' ';
  written += names.hysteresis;
  written += '=';
  written += points.hysteresis;
  AddDiagnostic(MessageCode::SwitchPointsRewritten, pointsLine, {names.on, names.off, written});

  // Sets a parameter's value where the card has it, adds it where not.
  auto write = [this](Token* value, std::string_view name, std::string_view text, std::string_view note) {
    if (value != nullptr) {
      tokens.SetText(value, text);
      value->kind = TokenKind::Number;
    } else {
      AddParameter(name, text, TokenKind::Number, note, false);
    }
  };
  const std::string pointsNote = std::string("Worked out from ") + std::string(names.on) + " and " + std::string(names.off);
  write(on, names.threshold, points.threshold, pointsNote);
  write(off, names.hysteresis, points.hysteresis, pointsNote);

  if (points.inverted) {
    AddDiagnostic(MessageCode::SwitchResistancesSwapped, pointsLine, {names.on, names.off});
    write(ron, "RON", roffText, "Swapped with ROFF");
    write(roff, "ROFF", ronText, "Swapped with RON");
  } else if (roff == nullptr) {
    AddDiagnostic(MessageCode::DefaultWrittenOut, typeLine, {"ROFF", kRoffDefault});
    AddParameter("ROFF", kRoffDefault, TokenKind::Number, "The model's default; ngspice's differs", false);
  }
}

}  // namespace zav
