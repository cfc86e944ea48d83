#include "elements/element_card.h"

#include <string_view>

#include "diagnostics/add_diagnostic.h"
#include "elements/bjt_card.h"
#include "elements/capacitor_card.h"
#include "elements/current_controlled_source_card.h"
#include "elements/current_switch_card.h"
#include "elements/diode_card.h"
#include "elements/independent_source_card.h"
#include "elements/inductor_card.h"
#include "elements/jfet_card.h"
#include "elements/mosfet_card.h"
#include "elements/resistor_card.h"
#include "elements/subckt_call_card.h"
#include "elements/voltage_controlled_source_card.h"
#include "elements/voltage_switch_card.h"
#include "subcircuits/subcircuit_model.h"

namespace zav {
namespace {

struct ElementClassRow;
using MakeElementCard = std::unique_ptr<ElementCard> (*)(Card& source, const ElementClassRow& row);

// One element class of the factory: the first letters that select it and the
// settings of the cards it makes.
struct ElementClassRow {
  std::string_view letters;
  CardKind kind;
  uint32_t minPins;
  uint32_t maxPins;
  CardKind modelKind;
  MakeElementCard make;
};

template <typename T>
std::unique_ptr<ElementCard> Make(Card& source, const ElementClassRow& row) {
  return std::make_unique<T>(source, TakeOver{}, row.kind, row.minPins, row.maxPins, row.modelKind);
}

// Every letter not listed here (K coupling cards among them) is an unknown
// element.
constexpr ElementClassRow kElementClasses[] = {
    {"Cc", CardKind::Capacitor, 2, 2, CardKind::CapacitorModel, &Make<CapacitorCard>},
    {"Dd", CardKind::Diode, 2, 2, CardKind::DiodeModel, &Make<DiodeCard>},
    {"EeGg", CardKind::VoltageControlledSource, 2, 2, CardKind::Unknown, &Make<VoltageControlledSourceCard>},
    {"FfHh", CardKind::CurrentControlledSource, 2, 2, CardKind::Unknown, &Make<CurrentControlledSourceCard>},
    {"IiUuVv", CardKind::IndependentSource, 2, 2, CardKind::Unknown, &Make<IndependentSourceCard>},
    {"Jj", CardKind::Jfet, 3, 3, CardKind::JfetModel, &Make<JfetCard>},
    {"Ll", CardKind::Inductor, 2, 2, CardKind::InductorModel, &Make<InductorCard>},
    {"Mm", CardKind::Mosfet, 4, 4, CardKind::MosfetModel, &Make<MosfetCard>},
    {"Qq", CardKind::Bjt, 3, 4, CardKind::BjtModel, &Make<BjtCard>},
    {"Rr", CardKind::Resistor, 2, 2, CardKind::ResistorModel, &Make<ResistorCard>},
    {"Ss", CardKind::VoltageSwitch, 2, 2, CardKind::VoltageSwitchModel, &Make<VoltageSwitchCard>},
    {"Ww", CardKind::CurrentSwitch, 2, 2, CardKind::CurrentSwitchModel, &Make<CurrentSwitchCard>},
    {"Xx", CardKind::SubcktCall, 0, 0, CardKind::Subckt, &Make<SubcktCallCard>},
};

const ElementClassRow* FindElementClass(std::string_view name) {
  if (name.empty()) return nullptr;
  for (const ElementClassRow& row : kElementClasses) {
    if (row.letters.find(name.front()) != std::string_view::npos) return &row;
  }
  return nullptr;
}

bool Fits(const Token& token, ElementFieldType type) {
  if (type == ElementFieldType::Number) return token.kind == TokenKind::Number;
  return token.kind == TokenKind::Name || token.kind == TokenKind::Number;
}

// Brackets mark a node name that would otherwise read as a model name, such
// as the substrate node of a bipolar transistor.
bool IsBracketedName(const Token& token) {
  return token.kind == TokenKind::Name && !token.text.empty() &&
         (token.text.front() == '[' || token.text.back() == ']');
}

}  // namespace

ElementCard::ElementCard(Card& source, TakeOver) : Card(source, TakeOver{}) {}

ElementCard::ElementCard(Card& source, TakeOver, CardKind kind, uint32_t minPins,
                         uint32_t maxPins, CardKind modelKind)
    : Card(source, TakeOver{}), minPins(minPins), maxPins(maxPins), modelKind(modelKind) {
  this->kind = kind;
  nameToken = nullptr;
}

std::unique_ptr<ElementCard> ElementCard::Create(ElementCard& generic) {
  const Token* first = generic.FirstToken();
  const ElementClassRow* row = first != nullptr ? FindElementClass(first->text) : nullptr;
  const SourceLine* line = first != nullptr ? first->line : generic.FirstSignificantLine();
  if (row == nullptr) {
    AddDiagnostic(10, line);
    return nullptr;
  }
  std::unique_ptr<ElementCard> card = row->make(generic, *row);
  card->Parse();
  if (!card->valid) {
    generic.lines = std::move(card->lines);  // the caller keeps them as comments
    return nullptr;
  }
  return card;
}

void ElementCard::Parse() {
  valid = true;
  ParseName();
  if (!valid) return;
  Token* afterPins = ParsePins();
  if (!valid) return;
  ParseFields(afterPins, 0);
}

void ElementCard::ParseName() {
  Token* token = FirstToken();
  if (token != nullptr && token->kind == TokenKind::Name) {
    nameToken = token;
    return;
  }
  AddDiagnostic(29, FirstSignificantLine());
  valid = false;
}

Token* ElementCard::ParsePins() {
  pins.reserve(maxPins);
  for (uint32_t i = 0; i < minPins; ++i) {
    Token* token = NextToken();
    if (token == nullptr) {
      AddDiagnostic(30, FirstSignificantLine());
      valid = false;
      return nullptr;
    }
    if (token->kind == TokenKind::Keyword) {
      AddDiagnostic(31, token->line, {token->text});
      valid = false;
      return nullptr;
    }
    pins.push_back(token);
  }
  while (pins.size() < maxPins) {
    Token* token = NextToken();
    if (token == nullptr) return nullptr;
    if (token->kind == TokenKind::Keyword) {
      AddDiagnostic(31, token->line, {token->text});
      valid = false;
      return nullptr;
    }
    if (token->kind != TokenKind::Number && !IsBracketedName(*token)) return token;
    pins.push_back(token);
  }
  return nullptr;
}

void ElementCard::ParseFields(Token* current, std::size_t firstRow) {
  const ElementField* table = FieldTable();
  const std::size_t count = FieldCount();
  if (firstRow < count) params.reserve(params.size() + (count - firstRow));
  for (std::size_t row = firstRow; row < count; ++row) {
    if (current == nullptr) {
      current = NextToken();
      // A card may end before its required fields: that is not an error.
      if (current == nullptr) return;
    }
    const ElementField& field = table[row];
    if (field.keyword) {
      // Keywords are matched with their letter case: "l=1u" is not the L field.
      if (current->kind != TokenKind::Name || current->text != field.name) continue;
      Token* value = NextToken();
      if (value == nullptr || !Fits(*value, field.type)) {
        AddDiagnostic(21, current->line, {current->text});
        valid = false;
        return;
      }
      RecordField(current, value, row);
    } else if (Fits(*current, field.type)) {
      RecordField(nullptr, current, row);
    } else if (field.required) {
      AddDiagnostic(21, current->line, {field.name});
      valid = false;
      return;
    } else {
      continue;
    }
    current = nullptr;
  }
}

void ElementCard::Link() {
  if (modelName == nullptr) return;
  if (subcircuit == nullptr) {
    AddDiagnostic(15, nameToken != nullptr ? nameToken->line : nullptr);
    return;
  }
  if (ImportedModel* model = subcircuit->FindModel(modelName->text)) {
    model->referencedBy.push_back(this);
  }
}

const SourceLine* ElementCard::FirstSignificantLine() const {
  for (const Token* token = tokens.front(); token != nullptr; token = token->next) {
    if (IsSignificant(token->kind)) return token->line;
  }
  return lines.empty() ? nullptr : lines.front();
}

void ElementCard::RecordField(Token* keyword, Token* value, std::size_t row) {
  if (FieldTable()[row].type == ElementFieldType::ModelName) modelName = value;
  params.push_back({keyword, value, static_cast<int32_t>(row)});
}

}  // namespace zav
