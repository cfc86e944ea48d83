#include "elements/element_card.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <new>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "cards/card_store.h"
#include "cards/finished_text.h"
#include "cards/model_scope.h"
#include "cards/text_arena.h"
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
#include "platform/ascii.h"
#include "text/source_line.h"

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
  return NewCard<T>(source.store, source, TakeOver{}, row.kind);
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

// The row of kElementClasses each byte selects as a first letter (the first
// row that lists it), or none: the table read once, at compile time, so that
// classifying an element costs one look-up instead of a search of the rows.
constexpr std::size_t kNoElementClass = std::size(kElementClasses);
constexpr std::array<std::uint8_t, 256> kElementClassOfLetter = [] {
  std::array<std::uint8_t, 256> classOf{};
  classOf.fill(static_cast<std::uint8_t>(kNoElementClass));
  for (std::size_t row = std::size(kElementClasses); row-- > 0;) {
    for (char letter : kElementClasses[row].letters) {
      classOf[static_cast<unsigned char>(letter)] = static_cast<std::uint8_t>(row);
    }
  }
  return classOf;
}();

const ElementClassRow* FindElementClass(std::string_view name) {
  if (name.empty()) return nullptr;
  const std::size_t row = kElementClassOfLetter[static_cast<unsigned char>(name.front())];
  return row != kNoElementClass ? &kElementClasses[row] : nullptr;
}

// The settings of each element kind's row, which a card reads instead of
// keeping them; none (no pins, no model) for a kind of no element.
struct ElementSettings {
  std::uint8_t minPins = 0;
  std::uint8_t maxPins = 0;
  CardKind modelKind = CardKind::Unknown;
};
constexpr std::array<ElementSettings, 256> kSettingsOfKind = [] {
  std::array<ElementSettings, 256> settings{};
  for (const ElementClassRow& row : kElementClasses) {
    settings[static_cast<std::uint8_t>(row.kind)] = ElementSettings{static_cast<std::uint8_t>(row.minPins),
                                                                    static_cast<std::uint8_t>(row.maxPins), row.modelKind};
  }
  return settings;
}();

const ElementSettings& SettingsOf(CardKind kind) { return kSettingsOfKind[static_cast<std::uint8_t>(kind)]; }

// A brace expression (read as its OpenBrace token) is a value wherever a
// number is.
bool Fits(const Token& token, ElementFieldType type) {
  if (token.kind == TokenKind::OpenBrace || token.kind == TokenKind::Number) return true;
  return type != ElementFieldType::Number && token.kind == TokenKind::Name;
}

// The keyword row (from `firstRow` on) that `token` names and that has no
// entry yet, or `count`. The dialect ignores letter case in keywords, and
// writes them in any order.
std::size_t FindKeywordRow(const ElementField* table, std::size_t count, std::size_t firstRow,
                           const std::vector<ParamEntry>& params, const Token& token) {
  if (token.kind != TokenKind::Name) return count;
  for (std::size_t row = firstRow; row < count; ++row) {
    if (!table[row].keyword || !EqualsNoCase(token.text, table[row].name)) continue;
    bool recorded = false;
    for (const ParamEntry& entry : params) recorded = recorded || entry.row == static_cast<int32_t>(row);
    if (!recorded) return row;
  }
  return count;
}

// Brackets mark a node name that would otherwise read as a model name, such
// as the substrate node of a bipolar transistor.
bool IsBracketedName(const Token& token) {
  return token.kind == TokenKind::Name && !token.text.empty() &&
         (token.text.front() == '[' || token.text.back() == ']');
}

// The first line that is no comment line: the statement line, where the
// name of a card that parsed stands.
const SourceLine* FirstCodeLine(const LineList& lines) {
  for (const SourceLine* line : lines) {
    if (line->kind != LineKind::Comment) return line;
  }
  return nullptr;
}

// A moved parameter's line as Card::InsertParameters writes it.
constexpr std::string_view kMark = "+ ";
constexpr std::string_view kEquals = " = ";
constexpr std::string_view kNoteStart = "    ; ";

}  // namespace

// An import keeps a card for each element of its file: on a 64-bit system
// the card is no larger than this (its typed cards add no fields).
static_assert(sizeof(void*) != 8 || sizeof(ElementCard) <= 88);

ElementCard::ElementCard(Card& source, TakeOver, CardKind kind) : Card(source, TakeOver{}) {
  this->kind = kind;
  nameToken = nullptr;
}

uint32_t ElementCard::minPins() const { return SettingsOf(kind).minPins; }

uint32_t ElementCard::maxPins() const { return SettingsOf(kind).maxPins; }

CardKind ElementCard::modelKind() const { return SettingsOf(kind).modelKind; }

std::unique_ptr<ElementCard> ElementCard::Create(Card& source) {
  // The typed card derives from the classified card itself: a generic
  // element card in between would be one more copy of every element.
  const Token* first = source.FirstToken();
  const ElementClassRow* row = first != nullptr ? FindElementClass(first->text) : nullptr;
  const SourceLine* line = first != nullptr ? first->line : source.FirstSignificantLine();
  if (row == nullptr) {
    AddDiagnostic(MessageCode::UnknownElementCard, line);
    return nullptr;
  }
  std::unique_ptr<ElementCard> card = row->make(source, *row);
  card->Parse();
  if (!card->valid) {
    source.lines = std::move(card->lines);  // the caller keeps them as comments
    return nullptr;
  }
  if (const Token* model = card->modelName(); model != nullptr) {
    card->modelNameData_ = model->text.data();
    card->modelNameSize_ = static_cast<uint16_t>(model->text.size());
    // Only a card with a model name is given moved parameters. Its name
    // comes before the model name in the file's text, nearly always on the
    // same line and a few bytes before (NameForMove checks that it is on the
    // statement line).
    if (const Token* name = card->nameToken; name != nullptr) {
      const auto at = reinterpret_cast<std::uintptr_t>(name->text.data());
      const auto modelAt = reinterpret_cast<std::uintptr_t>(card->modelNameData_);
      if (at < modelAt && modelAt - at <= UINT8_MAX && name->text.size() <= UINT8_MAX) {
        card->nameBefore_ = static_cast<uint8_t>(modelAt - at);
        card->nameSize_ = static_cast<uint8_t>(name->text.size());
      }
    }
  }
  return card;
}

// A parameter moved here while the card held no tokens, followed by its
// line (in the store's waiting room): where its name and value stand in it.
struct ElementCard::WaitingParameter {
  WaitingParameter* next;
  std::uint32_t size;
  std::uint32_t valueSize;
  std::uint16_t nameSize;
  TokenKind kind;

  const char* text() const { return reinterpret_cast<const char*>(this + 1); }
  std::string_view Name() const { return std::string_view(text() + kMark.size(), nameSize); }
  std::string_view Value() const {
    return std::string_view(text() + kMark.size() + nameSize + kEquals.size(), valueSize);
  }
  std::string_view Note() const {
    const std::size_t start = kMark.size() + nameSize + kEquals.size() + valueSize + kNoteStart.size();
    return std::string_view(text() + start, size - start - 1);
  }
};

void ElementCard::RecordTokens() {
  // The parse writes modelName_ in the place of waiting_.
  const bool movesWaited = movesWait_;
  const WaitingParameter* waiting = nullptr;
  if (movesWaited) {
    waiting = waiting_;
    movesWait_ = false;
    modelName_ = nullptr;
  }
  Parse();
  // The edits that waited, in the order the tokens would have had them:
  // the swap within the statement and the added lines after it do not
  // touch each other.
  if (swapWaits_) {
    swapWaits_ = false;
    SwapTokens();
  }
  for (; waiting != nullptr; waiting = waiting->next) {
    AddParameter(waiting->Name(), waiting->Value(), waiting->kind, waiting->Note(), false);
  }
  if (movesWaited) store->ReleaseWaitingRoom();
}

bool ElementCard::EditsMayWait() const {
  return store != nullptr && !store->keepEditedTokens && !holdsTokens() && tokens.finished() == nullptr;
}

std::string_view ElementCard::NameForMove() {
  if (nameSize_ != 0 && !ownKeywords_ && EditsMayWait()) {
    const SourceLine* line = FirstCodeLine(lines);
    const auto at = reinterpret_cast<std::uintptr_t>(modelNameData_) - nameBefore_;
    if (line != nullptr) {
      const auto begin = reinterpret_cast<std::uintptr_t>(line->text.data());
      if (at >= begin && at + nameSize_ <= begin + line->text.size()) {
        return line->text.view().substr(at - begin, nameSize_);
      }
    }
  }
  return Card::NameForMove();
}

void ElementCard::AddMovedParameter(std::string_view name, std::string_view value, TokenKind valueKind,
                                    std::string_view note) {
  if (nameSize_ == 0 || ownKeywords_ || !EditsMayWait()) {
    Card::AddMovedParameter(name, value, valueKind, note);
    return;
  }
  // A parameter of that name is left as it is: without fields of its own
  // written NAME=value, the card has only those moved here.
  if (!movesWait_) {
    waiting_ = nullptr;
    movesWait_ = true;
    store->HoldWaitingRoom();
  }
  WaitingParameter** end = &waiting_;
  for (; *end != nullptr; end = &(*end)->next) {
    if (EqualsNoCase((*end)->Name(), name)) return;
  }
  const std::size_t size = kMark.size() + name.size() + kEquals.size() + value.size() + kNoteStart.size() + note.size() + 1;
  auto* const waiting =
      new (store->AllocateWaiting(sizeof(WaitingParameter) + size, alignof(WaitingParameter))) WaitingParameter{
          nullptr, static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(value.size()),
          static_cast<std::uint16_t>(name.size()), valueKind};
  char* out = reinterpret_cast<char*>(waiting + 1);
  for (std::string_view part : {kMark, name, kEquals, value, kNoteStart, note}) {
    TextArena::CopyChars(out, part.data(), part.size());
    out += part.size();
  }
  *out = '\n';
  *end = waiting;
  changed = true;
}

void ElementCard::FinishEdits() {
  if ((swapWaits_ || movesWait_) && !holdsTokens() && tokens.finished() == nullptr && !FinishFromLines()) {
    Materialize();
  }
  Finish();
}

bool ElementCard::FinishFromLines() {
  // The added lines go after the last code line, before the comment lines
  // that follow the statement. One that does not end in a line feed (an
  // inline comment follows it, or the file ends) is left to the tokens,
  // which tell where the line ends.
  const std::size_t count = lines.size();
  std::size_t last = count;
  for (std::size_t i = count; i-- > 0;) {
    if (lines[i]->kind != LineKind::Comment) {
      last = i;
      break;
    }
  }
  if (last == count || !lines[last]->text.view().ends_with('\n')) return false;

  // The line of the swap: the one whose text holds the model name and the
  // value after it.
  std::size_t swapLine = count;
  if (swapWaits_) {
    const auto model = reinterpret_cast<std::uintptr_t>(modelNameData_);
    for (std::size_t i = 0; i < count; ++i) {
      const auto begin = reinterpret_cast<std::uintptr_t>(lines[i]->text.data());
      if (model >= begin && model + modelNameSize_ + valueGap_ + valueSize_ <= begin + lines[i]->text.size()) {
        swapLine = i;
        break;
      }
    }
    if (swapLine == count) return false;
  }

  const WaitingParameter* const moved = movesWait_ ? waiting_ : nullptr;
  std::size_t pieces = count + (swapWaits_ ? 4 : 0);
  for (const WaitingParameter* waiting = moved; waiting != nullptr; waiting = waiting->next) ++pieces;
  // Pieces are plain records: the ones on the stack are written before they
  // are read, and cost nothing to set up.
  constexpr std::size_t kOnStack = 16;
  TextPiece onStack[kOnStack];
  std::vector<TextPiece> onHeap;
  TextPiece* out = onStack;
  if (pieces > kOnStack) {
    onHeap.resize(pieces);
    out = onHeap.data();
  }
  TextPiece* const texts = out;
  // As FinishedText::Make does with tokens: a long run of a line is viewed;
  // shorter runs are copied, and the moved lines, whose room is used again
  // (see CardStore::AllocateWaiting), always; those copied one after the
  // other join one piece, which the text's reader appends at once.
  const char* copyEnd = nullptr;
  const auto piece = [&](const char* data, std::size_t size, std::size_t shortestView) {
    if (size >= shortestView) {
      *out++ = TextPiece{data, static_cast<std::uint32_t>(size)};
      copyEnd = nullptr;
      return;
    }
    if (size == 0) return;
    char* const copy = static_cast<char*>(store->Allocate(size, 1));
    TextArena::CopyChars(copy, data, size);
    if (copy == copyEnd) {
      out[-1].size += static_cast<std::uint32_t>(size);
    } else {
      *out++ = TextPiece{copy, static_cast<std::uint32_t>(size)};
    }
    copyEnd = copy + size;
  };
  constexpr std::size_t kShortestLineView = 16;
  constexpr std::size_t kNeverViewed = SIZE_MAX;
  for (std::size_t i = 0; i < count; ++i) {
    const std::string_view text = lines[i]->text;
    if (i == swapLine) {
      // The value first, then what stood between the two, then the model.
      const char* const model = modelNameData_;
      const char* const modelEnd = model + modelNameSize_;
      const char* const value = modelEnd + valueGap_;
      const char* const valueEnd = value + valueSize_;
      piece(text.data(), static_cast<std::size_t>(model - text.data()), kShortestLineView);
      piece(value, valueSize_, kShortestLineView);
      piece(modelEnd, static_cast<std::size_t>(value - modelEnd), kShortestLineView);
      piece(model, modelNameSize_, kShortestLineView);
      piece(valueEnd, static_cast<std::size_t>(text.data() + text.size() - valueEnd), kShortestLineView);
    } else {
      piece(text.data(), text.size(), kShortestLineView);
    }
    if (i != last) continue;
    for (const WaitingParameter* waiting = moved; waiting != nullptr; waiting = waiting->next) {
      piece(waiting->text(), waiting->size, kNeverViewed);
    }
  }
  tokens.SetFinished(
      FinishedText::OfPieces(*store, std::span<const TextPiece>(texts, static_cast<std::size_t>(out - texts))));
  swapWaits_ = false;
  if (movesWait_) {
    movesWait_ = false;
    modelName_ = nullptr;
    store->ReleaseWaitingRoom();
  }
  return true;
}

void ElementCard::ForgetTokens() {
  nameToken = nullptr;
  // Moved parameters wait only while the card holds no tokens, not now: the
  // place is the model name's.
  modelName_ = nullptr;
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
  AddDiagnostic(MessageCode::ElementWithoutName, FirstSignificantLine());
  valid = false;
}

Token* ElementCard::ParsePins() {
  // The records stay where they are while the parse reads: one look-up of
  // the list instead of one per pin.
  std::vector<Token*>& pinList = tokens.HoldRecorded().refs[0];
  // The settings are looked up once for both counts.
  const ElementSettings& settings = SettingsOf(kind);
  const uint32_t least = settings.minPins;
  const uint32_t most = settings.maxPins;
  pinList.reserve(most);
  for (uint32_t i = 0; i < least; ++i) {
    Token* token = NextToken();
    if (token == nullptr) {
      AddDiagnostic(MessageCode::NotEnoughPins, FirstSignificantLine());
      valid = false;
      return nullptr;
    }
    if (token->kind == TokenKind::Keyword) {
      AddDiagnostic(MessageCode::InvalidPinName, token->line, {token->text});
      valid = false;
      return nullptr;
    }
    pinList.push_back(token);
  }
  if (pinList.size() >= most) return nullptr;
  BraceExpressionIndex braces;
  while (pinList.size() < most) {
    Token* token = NextValue(braces);
    if (token == nullptr) return nullptr;
    if (token->kind == TokenKind::Keyword) {
      AddDiagnostic(MessageCode::InvalidPinName, token->line, {token->text});
      valid = false;
      return nullptr;
    }
    // A brace expression is a value, never a node.
    if (token->kind != TokenKind::Number && !IsBracketedName(*token)) return token;
    pinList.push_back(token);
  }
  return nullptr;
}

Token* ElementCard::NextValue(BraceExpressionIndex& braces) {
  if (tokenCursor() == nullptr) return nullptr;
  Token* token = tokenCursor()->next;
  while (token != nullptr && !IsSignificant(token->kind) && token->kind != TokenKind::OpenBrace) token = token->next;
  SetTokenCursor(token);
  if (token != nullptr && token->kind == TokenKind::OpenBrace) SetTokenCursor(braces.Find(tokens, token).last);
  return token;
}

void ElementCard::ParseFields(Token* current, std::size_t firstRow) {
  const ElementField* table = FieldTable();
  const std::size_t count = FieldCount();
  if (firstRow >= count) return;
  std::vector<ParamEntry>& entries = tokens.HoldRecorded().params;
  entries.reserve(entries.size() + (count - firstRow));
  std::size_t keywordsLeft = 0;
  for (std::size_t row = firstRow; row < count; ++row) keywordsLeft += table[row].keyword ? 1 : 0;

  // A field's entry; a ModelName row also sets `modelName`, unless the value
  // is an expression, which names no model.
  auto record = [&](Token* keyword, Token* value, std::size_t at) {
    if (table[at].type == ElementFieldType::ModelName && value->kind != TokenKind::OpenBrace) SetModelName(value);
    ownKeywords_ = ownKeywords_ || keyword != nullptr;
    entries.push_back({keyword, value, static_cast<int32_t>(at)});
  };

  // Positional rows are read in table order; keyword rows wherever their
  // keyword stands, each once.
  BraceExpressionIndex braces;
  std::size_t row = firstRow;
  for (;;) {
    while (row < count && table[row].keyword) ++row;
    if (row >= count && keywordsLeft == 0) return;
    if (current == nullptr) {
      current = NextValue(braces);
      // A card may end before its required fields: that is not an error.
      if (current == nullptr) return;
    }

    // A positional row that comes before the keyword's row in the table still
    // gets the first try, as it would in table order.
    const std::size_t keywordRow =
        keywordsLeft == 0 ? count : FindKeywordRow(table, count, firstRow, entries, *current);
    if (keywordRow < count && (row >= count || keywordRow < row)) {
      Token* value = NextValue(braces);
      if (value == nullptr || !Fits(*value, table[keywordRow].type)) {
        AddDiagnostic(MessageCode::MissingValue, current->line, {current->text});
        valid = false;
        return;
      }
      record(current, value, keywordRow);
      --keywordsLeft;
    } else if (row >= count) {
      // No positional row left: the token is none of the fields, but a
      // keyword may still follow it.
    } else if (Fits(*current, table[row].type)) {
      record(nullptr, current, row);
      ++row;
    } else if (table[row].required) {
      AddDiagnostic(MessageCode::MissingValue, current->line, {table[row].name});
      valid = false;
      return;
    } else {
      ++row;
      continue;
    }
    current = nullptr;
  }
}

void ElementCard::Link() {
  const std::string_view name = ModelNameText();
  if (name.empty()) return;
  if (subcircuit == nullptr) {
    // The name is the first significant token, on the statement line.
    AddDiagnostic(MessageCode::UnexpectedCard, holdsTokens() ? (nameToken != nullptr ? nameToken->line : nullptr)
                                                             : FirstSignificantLine());
    return;
  }
  if (ImportedModel* model = subcircuit->FindModel(name)) {
    model->AddUser(this);
    awaitsModel = model->origin == Origin::ModelCard;
  }
}

}  // namespace zav
