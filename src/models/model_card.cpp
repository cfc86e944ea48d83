#include "models/model_card.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <utility>

#include "cards/dialect_keywords.h"
#include "diagnostics/add_diagnostic.h"
#include "models/bjt_model_card.h"
#include "models/capacitor_model_card.h"
#include "models/current_switch_model_card.h"
#include "models/diode_model_card.h"
#include "models/host_model_card.h"
#include "models/inductor_model_card.h"
#include "models/jfet_model_card.h"
#include "models/mosfet_model_card.h"
#include "models/ngspice_rules.h"
#include "models/resistor_model_card.h"
#include "models/rule_index.h"
#include "models/value_commas.h"
#include "models/voltage_switch_model_card.h"
#include "platform/ascii.h"
#include "platform/ascii_words.h"
#include "platform/byte_search.h"
#include "text/source_line.h"

namespace zav {
namespace {

// The model types and the variant each one builds, compared whole and
// without regard to case.
struct ModelTypeRow {
  std::string_view keyword;
  CardKind kind;
};

constexpr ModelTypeRow kModelTypes[] = {
    {"NPN", CardKind::BjtModel},
    {"PNP", CardKind::BjtModel},
    {"LPNP", CardKind::BjtModel},
    {"D", CardKind::DiodeModel},
    {"NJF", CardKind::JfetModel},
    {"PJF", CardKind::JfetModel},
    {"NMOS", CardKind::MosfetModel},
    {"PMOS", CardKind::MosfetModel},
    {"CAP", CardKind::CapacitorModel},
    {"IND", CardKind::InductorModel},
    {"RES", CardKind::ResistorModel},
    {"ISWITCH", CardKind::CurrentSwitchModel},
    {"VSWITCH", CardKind::VoltageSwitchModel},
    // The host's own names of the types it names differently: a card written
    // with one of them is already in the host's form.
    {"R", CardKind::HostModel},
    {"C", CardKind::HostModel},
    {"L", CardKind::HostModel},
    {"SW", CardKind::HostModel},
    {"CSW", CardKind::HostModel},
};

// The rows by their keywords' words (see ascii_words.h), in a table with a
// slot for each that no other shares: every card asks for its type once, and
// a keyword is found by one probe, its word and length compared.
class ModelTypeIndex {
 public:
  ModelTypeIndex() {
    // A multiplier that gives every keyword a slot of its own, found once
    // among odd numbers of scattered bits (multipliers close to each other
    // move the top bits of a short word's product together).
    for (std::uint64_t seed = 1;; ++seed) {
      multiplier_ = (seed * 0x9E3779B97F4A7C15ull ^ (seed * 0xD6E8FEB86659FD93ull) >> 29) | 1;
      slots_.fill(nullptr);
      bool apart = true;
      for (const ModelTypeRow& row : kModelTypes) {
        const ModelTypeRow*& slot = slots_[SlotOf(WordOf(row.keyword), row.keyword.size())];
        apart = apart && slot == nullptr;
        slot = &row;
      }
      if (apart) return;
    }
  }

  const ModelTypeRow* Find(std::string_view type) const {
    if (type.size() - 1 >= 8) return nullptr;
    const std::uint64_t word = ascii_words::UpperCaseWord(WordOf(type));
    const ModelTypeRow* row = slots_[SlotOf(word, type.size())];
    return row != nullptr && row->keyword.size() == type.size() && WordOf(row->keyword) == word ? row : nullptr;
  }

 private:
  static constexpr unsigned kSlotBits = 6;
  static std::uint64_t WordOf(std::string_view text) { return ascii_words::LoadShort(text.data(), text.size()); }
  std::size_t SlotOf(std::uint64_t word, std::size_t size) const {
    return static_cast<std::size_t>(((word + size) * multiplier_) >> (64 - kSlotBits));
  }

  std::uint64_t multiplier_ = 0;
  std::array<const ModelTypeRow*, std::size_t{1} << kSlotBits> slots_{};
};

const ModelTypeIndex kModelTypeIndex;

const ModelTypeRow* FindModelType(std::string_view type) { return kModelTypeIndex.Find(type); }

// The table a variant translates its parameters with for `target`, as its
// RuleTable gives it; the MOSFET table by the level. The ngspice tables name
// the host tables' parameters row for row, so which parameters a card knows
// does not depend on the target.
ParamRuleTable KnownParameters(CardKind kind, int mosfetLevel, TranslationTarget target) {
  const bool ngspice = target == TranslationTarget::Ngspice;
  switch (kind) {
    case CardKind::BjtModel: return ngspice ? NgspiceBjtRules() : BjtRules();
    case CardKind::DiodeModel: return ngspice ? NgspiceDiodeRules() : DiodeRules();
    case CardKind::JfetModel: return ngspice ? NgspiceJfetRules() : JfetRules();
    case CardKind::MosfetModel: return ngspice ? NgspiceMosfetRulesForLevel(mosfetLevel) : MosfetRulesForLevel(mosfetLevel);
    case CardKind::CapacitorModel: return ngspice ? NgspiceCapacitorRules() : CapacitorRules();
    case CardKind::InductorModel: return ngspice ? NgspiceInductorRules() : InductorRules();
    case CardKind::ResistorModel: return ngspice ? NgspiceResistorRules() : ResistorRules();
    case CardKind::CurrentSwitchModel: return ngspice ? NgspiceCurrentSwitchRules() : CurrentSwitchRules();
    case CardKind::VoltageSwitchModel: return ngspice ? NgspiceVoltageSwitchRules() : VoltageSwitchRules();
    default: return {};
  }
}

// KnownParameters as a RuleFinder, each made once: a parse asks for one per
// card, and finding a table's index by its address costs more than the rest
// of a short card's lookups. The variants from BjtModel to VoltageSwitchModel
// in order, then the MOSFET tables of levels 2, 3, 4 and 7; for each target.
constexpr int kKnownVariants = static_cast<int>(CardKind::VoltageSwitchModel) - static_cast<int>(CardKind::BjtModel) + 1;
constexpr int kMosfetLevelsOfTheirOwn[] = {2, 3, 4, 7};
constexpr int kKnownTables = kKnownVariants + static_cast<int>(std::size(kMosfetLevelsOfTheirOwn));

std::vector<RuleFinder> MakeKnownRules() {
  std::vector<RuleFinder> made;
  made.reserve(2 * kKnownTables);
  for (const TranslationTarget each : {TranslationTarget::Host, TranslationTarget::Ngspice}) {
    for (int variant = 0; variant < kKnownVariants; ++variant) {
      made.emplace_back(KnownParameters(static_cast<CardKind>(static_cast<int>(CardKind::BjtModel) + variant), 1, each));
    }
    for (const int level : kMosfetLevelsOfTheirOwn) made.emplace_back(KnownParameters(CardKind::MosfetModel, level, each));
  }
  return made;
}

// Made when the library is loaded (the tables are constant, their indexes made
// on first use), so that asking costs no check whether it is made yet.
const std::vector<RuleFinder> kKnownRules = MakeKnownRules();

const RuleFinder& KnownRules(CardKind kind, int mosfetLevel, TranslationTarget target) {
  int table = static_cast<int>(kind) - static_cast<int>(CardKind::BjtModel);
  if (kind == CardKind::MosfetModel) {
    for (int i = 0; i < static_cast<int>(std::size(kMosfetLevelsOfTheirOwn)); ++i) {
      if (mosfetLevel == kMosfetLevelsOfTheirOwn[i]) table = kKnownVariants + i;
    }
  }
  return kKnownRules[(target == TranslationTarget::Ngspice ? kKnownTables : 0) + table];
}

// An index's slot holds what an entry notes of a name whose value is a
// number, ready to be written.
static_assert(RuleIndex::kNoRow == ModelCard::kNoRule && RuleIndex::kKeeps == ModelCard::kKeptAsWritten);

// What the `row` of a parameter entry of a card without an AKO reference
// holds once its table is known (see ModelCard::kKeptAsWritten).
std::int32_t NotedRow(RuleIndex::FoundRow found, TokenKind valueKind) {
  if (found.row < 0) return ModelCard::kNoRule;
  if (found.keeps && valueKind == TokenKind::Number) return ModelCard::kKeptAsWritten;
  return static_cast<std::int32_t>(found.row);
}

std::int32_t NotedRow(const RuleFinder& rules, std::string_view name, TokenKind valueKind) {
  return NotedRow(rules.FindRowAndKeep(name), valueKind);
}

// The MOSFET levels the target simulator has a counterpart for.
constexpr int kTranslatableMosfetLevels[] = {1, 2, 3, 4, 7};

bool IsTranslatableMosfetLevel(int level) {
  for (int accepted : kTranslatableMosfetLevels) {
    if (level == accepted) return true;
  }
  return false;
}

// Marks the end of a card's tokens for the walks of a model's parameters:
// while it lives, the last token is followed by a token no list holds, which
// is significant but neither a Name nor a Number, so that a walk from token
// to token stops at it as at any token that ends a run of pairs, and needs
// no test for the end of the list at each token it passes (most of them
// separators). Nothing may read the list but such a walk meanwhile.
class EndMark {
 public:
  explicit EndMark(TokenList& tokens) : last_(tokens.back()) {
    if (last_ != nullptr) last_->next = &mark_;
  }
  EndMark(const EndMark&) = delete;
  EndMark& operator=(const EndMark&) = delete;
  ~EndMark() {
    if (last_ != nullptr) last_->next = nullptr;
  }

  // The significant token after `token`, which is one of the marked list's
  // (the mark at its end).
  static Token* Next(Token* token) {
    do {
      token = token->next;
    } while (!IsSignificant(token->kind));
    return token;
  }
  // The same, for a token that one separator follows, as nearly every word
  // of a pair is: two steps without a loop.
  static Token* NextPastOne(Token* token) {
    Token* const between = token->next;
    if (IsSignificant(between->kind)) return between;
    Token* const after = between->next;
    return IsSignificant(after->kind) ? after : Next(after);
  }
  // `token` as the end of the list reads once the mark is gone: none for
  // the mark.
  static Token* Unmarked(Token* token) { return token == &mark_ ? nullptr : token; }

 private:
  // Only its address and its kind are read.
  static inline Token mark_{std::string_view(), nullptr, nullptr, nullptr, TokenKind::Keyword};
  Token* last_;
};

const SourceLine* LineOf(const Token* token) { return token != nullptr ? token->line : nullptr; }

// Whether a card's lines hold `c`. Lines as read lie one after the other in
// the file's buffer (an inline comment right after its code): each stretch
// of them is searched at once.
bool LinesHold(const LineList& lines, char c) {
  const char* begin = nullptr;
  const char* end = nullptr;
  for (const SourceLine* line : lines) {
    const std::string_view text = line->text;
    if (text.data() == end) {
      end += text.size();
      continue;
    }
    if (HoldsByte(begin, end, c)) return true;
    begin = text.data();
    end = begin + text.size();
  }
  return HoldsByte(begin, end, c);
}

template <typename T>
std::unique_ptr<ModelCard> Make(Card& card) {
  return NewCard<T>(card.store, card, TakeOver{});
}

std::unique_ptr<ModelCard> BuildVariant(Card& card, CardKind kind) {
  switch (kind) {
    case CardKind::BjtModel: return Make<BjtModelCard>(card);
    case CardKind::DiodeModel: return Make<DiodeModelCard>(card);
    case CardKind::JfetModel: return Make<JfetModelCard>(card);
    case CardKind::MosfetModel: return Make<MosfetModelCard>(card);
    case CardKind::CapacitorModel: return Make<CapacitorModelCard>(card);
    case CardKind::InductorModel: return Make<InductorModelCard>(card);
    case CardKind::ResistorModel: return Make<ResistorModelCard>(card);
    case CardKind::CurrentSwitchModel: return Make<CurrentSwitchModelCard>(card);
    case CardKind::VoltageSwitchModel: return Make<VoltageSwitchModelCard>(card);
    case CardKind::HostModel: return Make<HostModelCard>(card);
    default: return nullptr;
  }
}

}  // namespace

ModelCard::ModelCard(Card& source, TakeOver) : Card(source, TakeOver{}) {
  origin = Origin::ModelCard;
  kind = CardKind::Model;
}

ModelCard::ModelCard(Card& source, TakeOver, CardKind variantKind) : Card(source, TakeOver{}) {
  origin = Origin::ModelCard;
  kind = variantKind;
}

void ModelCard::RecordTokens() {
  ParseModel(/*noteRows=*/true, /*cut=*/true);
  // The link's edit, made again on the new tokens.
  if (akoLink() != nullptr && !akoTokens().empty()) ApplyAko(akoLink()->taken(), *akoLink()->source);
}

void ModelCard::ForgetTokens() {
  if (hasAko_ && link_.ako == nullptr) KeepAkoReference();
  if (nameToken != nullptr && nameToken != &keptName_) {
    // A card of no store keeps no name, as no token outside its list.
    if (store == nullptr) {
      nameToken = nullptr;
    } else {
      // A name that views its line lives as long as the line; any other is
      // copied into the store.
      const std::string_view name = nameToken->text;
      const std::string_view line = nameToken->line != nullptr ? nameToken->line->text.view() : std::string_view();
      const bool viewsLine = !line.empty() && name.data() >= line.data() && name.data() + name.size() <= line.data() + line.size();
      keptName_.text = viewsLine ? name : store->KeepText(name);
      keptName_.line = nameToken->line;
      keptName_.kind = nameToken->kind;
      nameToken = &keptName_;
    }
  }
  if (modelType != nullptr) {
    typeLine_ = modelType->line;
    const std::string_view line = typeLine_ != nullptr ? typeLine_->text.view() : std::string_view();
    const std::string_view type = modelType->text;
    typeTranslated_ = type.data() < line.data() || type.data() + type.size() > line.data() + line.size();
    if (!typeTranslated_) {
      typeOffset_ = static_cast<std::uint16_t>(type.data() - line.data());
      typeSize_ = static_cast<std::uint16_t>(type.size());
    }
  }
  modelType = nullptr;
}

std::string_view ModelCard::TypeText() const {
  if (modelType != nullptr) return modelType->text;
  if (typeTranslated_) return HostTypeName();
  return typeLine_ != nullptr ? typeLine_->text.substr(typeOffset_, typeSize_) : std::string_view();
}

std::string_view ModelCard::ModelName() const {
  return nameToken != nullptr ? std::string_view(nameToken->text) : std::string_view();
}

ParamEntry* ModelCard::FindParam(std::string_view name) {
  for (ParamEntry& entry : params()) {
    if (entry.name != nullptr && EqualsNoCase(entry.name->text, name)) return &entry;
  }
  return nullptr;
}

void ModelCard::Parse() { ParseModel(/*noteRows=*/true, /*cut=*/false); }

CardKind ModelCard::ParseModel(bool noteRows, bool cut) {
  modelType = nullptr;
  hasAko_ = false;
  parsedLevel_ = 0;
  Token* type = nullptr;
  CardKind variant = CardKind::Unknown;
  valid = ParseHead(*this, type, variant);
  if (!valid) return CardKind::Unknown;
  modelType = type;
  hasAko_ = !akoTokens().empty();
  // The host's own parameters follow; no table of the dialect describes them.
  if (variant == CardKind::HostModel) return variant;
  ParseRest(variant, noteRows, cut);
  return variant;
}

bool ModelCard::ParseHead(Card& card, Token*& type, CardKind& variant) {
  card.nameToken = nullptr;
  TokenRefList<1>(card.tokens).clear();
  ParamList(card.tokens).clear();

  auto fail = [](MessageCode code, const SourceLine* line, std::initializer_list<DiagnosticValue> values) {
    AddDiagnostic(code, line, values);
    return false;
  };

  Token* keyword = card.FirstToken();
  if (keyword == nullptr || keyword->kind != TokenKind::Keyword || !StartsWithNoCase(keyword->text, kModelKeywordPrefix)) {
    return fail(MessageCode::MissingKeyword, card.FirstSignificantLine(), {});
  }
  const SourceLine* keywordLine = keyword->line;

  Token* name = card.NextToken();
  if (name == nullptr || (name->kind != TokenKind::Name && name->kind != TokenKind::Number)) {
    return fail(MessageCode::MissingModelName, name != nullptr ? name->line : keywordLine, {});
  }
  card.nameToken = name;

  // The model type, or the AKO reference in front of it.
  auto nextName = [&](Token*& out) {
    out = card.NextToken();
    if (out == nullptr) return fail(MessageCode::MissingModelType, keywordLine, {});
    if (out->kind != TokenKind::Name) return fail(MessageCode::MissingModelType, out->line, {});
    return true;
  };
  if (!nextName(type)) return false;
  if (StartsWithNoCase(type->text, kAkoMarker)) {
    TokenRefList<1> akoTokens(card.tokens);
    akoTokens.push_back(type);
    // "AKO:" may stand apart from the name it refers to.
    if (type->text.size() == kAkoMarker.size()) {
      Token* reference = card.NextToken();
      // A model's name may begin with a digit ("AKO: 2SC1815"); ngspice,
      // which gets the copy, takes such names.
      const bool numberName = reference != nullptr && reference->kind == TokenKind::Number &&
                              card.target() == TranslationTarget::Ngspice;
      if (!numberName) {
        if (reference != nullptr) card.SetTokenCursor(reference->prev);
        if (!nextName(reference)) return false;
      }
      akoTokens.push_back(reference);
    }
    if (!nextName(type)) return false;
  }

  const ModelTypeRow* row = FindModelType(type->text);
  variant = row != nullptr ? row->kind : CardKind::Unknown;
  return true;
}

void ModelCard::ParseRest(CardKind variant, bool noteRows, bool cut) {
  // A card with an AKO reference is translated with what its reference adds
  // (a MOSFET's LEVEL among it): it looks its rows up then.
  ParseParameters(variant, noteRows && !hasAko_, cut);
  tokens.HoldRecorded().parsedParams = static_cast<uint32_t>(params().size());
}

void ModelCard::ParseParameters(CardKind variant, bool noteRows, bool cut) {
  // Vendors tag their models with parameters of their own ("mfg=Philips"). A
  // value that is no number rejects the card only when the variant's table
  // knows the parameter: an unknown one is commented out by the translation
  // anyway. Which table that is depends, for a MOSFET, on its LEVEL, which
  // may come after the tag; such tags wait in `undecided` until the LEVEL is
  // read or the list ends. So that the diagnostics come as the walk would
  // have met them, no failure is reported before the undecided tags are
  // settled: the first failure of the walk is held in `failure`.
  struct Failure {
    bool failed = false;
    MessageCode code = MessageCode::NonNumericValue;
    const SourceLine* line = nullptr;
    std::string_view text;
  };
  struct Tag {
    const Token* name;
    const SourceLine* line;
    std::string_view value;  // as written, before any comma split it off
  };
  const bool mosfet = variant == CardKind::MosfetModel;
  const TranslationTarget target = this->target();
  bool tableKnown = variant != CardKind::Unknown && !mosfet;
  // The rows are looked up once, here, where the walk meets the names: the
  // translation reads them from the entries (see kKeptAsWritten).
  // None until the table is known.
  const RuleFinder* rules = tableKnown ? &KnownRules(variant, 1, target) : nullptr;
  Failure failure;
  std::vector<Tag> undecided;
  BraceDepth braces(modelType->next);

  // Separators include "=", "(" and ")", so "IS=1", "IS 1" and "(IS=1)" all
  // read as the same pair.
  // At most one parameter per two tokens, its name and its value (the words
  // a classification makes hold no separators), but for those a comma split
  // off.
  // The walk steps through the tokens itself, as NextToken would, and leaves
  // the card's cursor where NextToken would have left it: a model may have
  // hundreds of parameters, read at classification and again for the
  // translation.
  TokenRecords& recorded = tokens.HoldRecorded();
  std::vector<ParamEntry>& entries = recorded.params;
  entries.reserve(tokens.size() / 2);
  Token* cursor = recorded.cursor;
  auto next = [&cursor]() {
    if (cursor == nullptr) return cursor;
    do {
      cursor = cursor->next;
    } while (cursor != nullptr && !IsSignificant(cursor->kind));
    return cursor;
  };
  // The rows of the entries read before the table was known.
  auto noteRowsSoFar = [&]() {
    if (!noteRows) return;
    for (ParamEntry& entry : entries) entry.row = NotedRow(*rules, entry.name->text, entry.value->kind);
  };
  const bool ngspice = target == TranslationTarget::Ngspice;
  // A value holds a comma only where its card's text does: the values of a
  // card cut from lines without one (most cards) need not be searched.
  const bool commas = !cut || LinesHold(lines, ',');
  for (Token* parameter = next(); parameter != nullptr; parameter = next()) {
    if (tableKnown && !noteRows) {
      // As below, for a parse that looks no rows up (a card with an AKO
      // reference, a look at a card's words); written apart, so that
      // neither walk asks which it is at every pair.
      {
        const EndMark end(tokens);
        for (; parameter->kind == TokenKind::Name; parameter = EndMark::NextPastOne(parameter)) {
          Token* const value = EndMark::NextPastOne(parameter);
          if (value->kind != TokenKind::Number || (commas && HoldsComma(value->text))) [[unlikely]] break;
          entries.push_back(ParamEntry{parameter, value, kNotLookedUp});
          parameter = value;
        }
      }
      cursor = parameter = EndMark::Unmarked(parameter);
      if (parameter == nullptr) break;
    } else if (tableKnown) {
      // Nearly every parameter is a Name and a Number without a comma, on a
      // card whose table is known (a MOSFET's from its LEVEL on): this walk
      // takes such pairs until it meets another, which it leaves to the
      // walk below, the cursor put back on its name. It holds less than
      // that walk, and calls nothing.
      // Every variant's table has an index; its short names are looked up
      // through a copy that stays in registers while the entries are written.
      const RuleIndex& index = *rules->index();
      const RuleIndex::ShortNames shortNames = index.shortNames();
      {
        const EndMark end(tokens);
        for (; parameter->kind == TokenKind::Name; parameter = EndMark::NextPastOne(parameter)) {
          Token* const value = EndMark::NextPastOne(parameter);
          if (value->kind != TokenKind::Number || (commas && HoldsComma(value->text))) [[unlikely]] break;
          const std::string_view name = parameter->text;
          const std::int32_t noted = RuleIndex::ShortNames::Holds(name.size())
                                         ? shortNames.NotedForNumber(name)
                                         : NotedRow(index.FindLongRowAndKeep(name), TokenKind::Number);
          entries.push_back(ParamEntry{parameter, value, noted});
          parameter = value;
        }
      }
      cursor = parameter = EndMark::Unmarked(parameter);
      if (parameter == nullptr) break;
    }
    if (parameter->kind != TokenKind::Name) {
      // "D(+ IS=1n ...)": ngspice passes over a lone plus sign (a Number
      // token) in a parameter list, and so does the translation for it.
      if (ngspice && parameter->text == "+") continue;
      failure = {true, MessageCode::InvalidName, parameter->line, parameter->text};
      break;
    }
    Token* value = next();
    if (value == nullptr) {
      failure = {true, MessageCode::MissingValue, parameter->line, parameter->text};
      break;
    }
    if (value->kind != TokenKind::Number) {
      // A card of a model type the factory will not take keeps no tag.
      if (variant == CardKind::Unknown || (tableKnown && rules->FindRow(parameter->text) >= 0)) {
        failure = {true, MessageCode::NonNumericValue, value->line, value->text};
        break;
      }
      if (!tableKnown) undecided.push_back({parameter, value->line, value->text});
    }
    // Only a word with a comma may split; the brace depth is counted up to
    // it only then (the count walks on from where it stopped).
    if (commas && HoldsComma(value->text)) {
      SplitValueAtComma(tokens, value, braces.At(value));
    }
    if (tableKnown) {
      entries.push_back(ParamEntry{parameter, value, noteRows ? NotedRow(*rules, parameter->text, value->kind) : kNotLookedUp});
      continue;
    }
    entries.push_back(ParamEntry{parameter, value, kNotLookedUp});
    if (mosfet && EqualsNoCase(parameter->text, "LEVEL")) {
      const int level = AsciiToInt(value->text);
      parsedLevel_ = static_cast<std::int8_t>(level >= 1 && level <= INT8_MAX ? level : 0);
      rules = &KnownRules(variant, level, target);
      tableKnown = true;
      noteRowsSoFar();
    }
  }
  recorded.cursor = cursor;

  if (mosfet && !tableKnown) {
    parsedLevel_ = 1;
    rules = &KnownRules(variant, 1, target);
    noteRowsSoFar();
  }
  for (const Tag& tag : undecided) {
    if (rules->FindRow(tag.name->text) >= 0) {
      failure = {true, MessageCode::NonNumericValue, tag.line, tag.value};
      break;
    }
  }
  if (!failure.failed) return;
  if (failure.code == MessageCode::InvalidName) {
    AddDiagnostic(MessageCode::InvalidName, failure.line, {failure.text, "model parameter"});
  } else {
    AddDiagnostic(failure.code, failure.line, {failure.text});
  }
  valid = false;
}

std::unique_ptr<ModelCard> ModelCard::Create(Card& card, bool noteRows) {
  // The card is classification's, which goes on with the next statement:
  // what the head finds is the variant's, and a failure its own.
  Token* type = nullptr;
  CardKind kind = CardKind::Unknown;
  if (!ParseHead(card, type, kind)) {
    card.nameToken = nullptr;
    return nullptr;
  }

  // The variant takes the card over as soon as its model type names it, and
  // reads its parameters itself: no card in between. A card that fails
  // gives its lines back.
  std::unique_ptr<ModelCard> variant = BuildVariant(card, kind);
  if (variant == nullptr) {
    // A model type the factory will not take: its parameters are read all
    // the same, for the diagnostics they give.
    ModelCard unknown(card, TakeOver{});
    unknown.AdoptHead(type);
    unknown.ParseRest(kind, noteRows, /*cut=*/true);
    if (unknown.valid) AddDiagnostic(MessageCode::UnknownModelCard, LineOf(unknown.FirstToken()), {});
    card.lines = std::move(unknown.lines);
    return nullptr;
  }
  variant->AdoptHead(type);
  if (kind == CardKind::HostModel) {
    // R, C, L, SW and CSW are the host's types and ngspice's alike.
    const MessageCode code = variant->target() == TranslationTarget::Ngspice ? MessageCode::ModelAlreadyInNgspiceForm
                                                                             : MessageCode::ModelAlreadyInHostForm;
    AddDiagnostic(code, variant->modelType->line, {variant->modelType->text, variant->ModelName()});
    return variant;
  }
  variant->ParseRest(kind, noteRows, /*cut=*/true);
  bool kept = variant->valid;
  // A level the parse read is 1 without a LEVEL parameter, which passes as
  // no LEVEL does.
  if (kept && kind == CardKind::MosfetModel && !IsTranslatableMosfetLevel(variant->parsedLevel_)) {
    if (const ParamEntry* level = variant->FindParam("LEVEL"); level != nullptr) {
      if (!IsTranslatableMosfetLevel(AsciiToInt(level->value->text))) {
        AddDiagnostic(MessageCode::UntranslatableMosfetLevel, variant->modelType->line, {level->value->text});
        kept = false;
      }
    }
  }
  if (kept) return variant;
  card.lines = std::move(variant->lines);
  return nullptr;
}

void ModelCard::AdoptHead(Token* type) {
  // The take-over put the cursor back at the first token; the parameters
  // follow the type.
  SetTokenCursor(type);
  valid = true;
  modelType = type;
  hasAko_ = !akoTokens().empty();
}

}  // namespace zav
