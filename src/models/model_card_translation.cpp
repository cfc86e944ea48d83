// ModelCard members: what happens to a model card after all cards are
// classified. The AKO reference is resolved (Link), then the parameters are
// translated through the variant's table (Resolve), moving some of them to
// the elements that use the model.

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <unordered_set>
#include <utility>

#include "cards/dialect_keywords.h"
#include "cards/model_scope.h"
#include "diagnostics/add_diagnostic.h"
#include "models/early_translation.h"
#include "models/model_card.h"
#include "models/rule_index.h"
#include "platform/ascii.h"
#include "platform/ascii_words.h"
#include "platform/no_case_index.h"

namespace zav {
namespace {

const SourceLine* LineOf(const Token* token) { return token != nullptr ? token->line : nullptr; }

std::string_view TextOf(const Token* token) {
  return token != nullptr ? std::string_view(token->text) : std::string_view();
}

// `prefix"name"`, written on the stack when it fits, as it does for all but
// unusually long model names: a move to the elements writes this note once
// per move, and a heap block for each cost more than the rest of the note.
class QuotedNote {
 public:
  QuotedNote(std::string_view prefix, std::string_view name) {
    const std::size_t size = prefix.size() + name.size() + 2;
    char* const begin = size <= sizeof onStack_ ? onStack_ : (onHeap_.resize(size), onHeap_.data());
    char* out = begin;
    const auto write = [&out](std::string_view part) {
      std::memcpy(out, part.data(), part.size());
      out += part.size();
    };
    write(prefix);
    write("\"");
    write(name);
    write("\"");
    text_ = std::string_view(begin, size);
  }
  QuotedNote(const QuotedNote&) = delete;
  QuotedNote& operator=(const QuotedNote&) = delete;

  std::string_view text() const { return text_; }

 private:
  char onStack_[128];
  std::string onHeap_;
  std::string_view text_;
};

bool IsTemperatureCoefficient(std::string_view name) {
  return EqualsNoCase(name, "TC1") || EqualsNoCase(name, "TC2");
}

// Which of the parameters offered through an AKO reference a card takes:
// those whose names (in any case) it has not got, the first of a name. A
// name this card has already keeps this card's value. One lookup per name:
// copying a long parameter list stays linear.
//
// A name of up to eight bytes, nearly every parameter's, is one upper-cased
// word (see ascii_words.h) in a table sized once for every name to come, in
// place up to a few dozen names; a longer name goes to an index of its own.
class AkoChoice {
 public:
  AkoChoice(const ParamList& own, std::size_t offered) {
    Size(own.size() + offered);
    for (const ParamEntry& entry : own) {
      if (entry.name != nullptr) Takes(entry.name->text);
    }
  }
  template <typename Copy>
  AkoChoice(std::span<const Copy> own, std::size_t offered) {
    Size(own.size() + offered);
    for (const Copy& copy : own) Takes(copy.Name());
  }
  AkoChoice(const AkoChoice&) = delete;
  AkoChoice& operator=(const AkoChoice&) = delete;

  bool Takes(std::string_view name) {
    if (name.size() - 1 >= 8) return TakesLong(name);
    const std::uint64_t word = ascii_words::UpperCaseWord(ascii_words::LoadShort(name.data(), name.size()));
    const auto size = static_cast<std::uint8_t>(name.size());
    for (std::size_t at = ((word + size) * 0x9E3779B97F4A7C15ull) >> shift_;; at = (at + 1) & mask_) {
      if (sizes_[at] == 0) {
        sizes_[at] = size;
        words_[at] = word;
        return true;
      }
      if (sizes_[at] == size && words_[at] == word) return false;
    }
  }

 private:
  static constexpr std::size_t kInPlace = 128;

  [[gnu::noinline]] bool TakesLong(std::string_view name) {
    const std::size_t before = long_.size();
    long_.Add(name, true);
    return long_.size() != before;
  }

  // At most half full once `count` names are in. Only the sizes are
  // cleared: a slot's word counts once it has a size.
  void Size(std::size_t count) {
    std::size_t capacity = 16;
    int bits = 4;
    while (capacity < count * 2) {
      capacity *= 2;
      ++bits;
    }
    if (capacity <= kInPlace) {
      sizes_ = sizesInPlace_;
      words_ = wordsInPlace_;
    } else {
      sizesOnHeap_ = std::make_unique<std::uint8_t[]>(capacity);
      wordsOnHeap_ = std::make_unique_for_overwrite<std::uint64_t[]>(capacity);
      sizes_ = sizesOnHeap_.get();
      words_ = wordsOnHeap_.get();
    }
    std::memset(sizes_, 0, capacity);
    mask_ = capacity - 1;
    shift_ = 64 - bits;
  }

  // A name of up to eight bytes: its size (none: the slot is free) and its
  // upper-cased word.
  std::uint8_t* sizes_ = nullptr;
  std::uint64_t* words_ = nullptr;
  std::size_t mask_ = 0;
  int shift_ = 0;
  std::unique_ptr<std::uint8_t[]> sizesOnHeap_;
  std::unique_ptr<std::uint64_t[]> wordsOnHeap_;
  NoCaseIndex<bool> long_;
  std::uint8_t sizesInPlace_[kInPlace];
  std::uint64_t wordsInPlace_[kInPlace];
};

// Notes in each entry from `begin` to `end` that the parse did not look up
// the row of its name in `table`, as a parse that knew the table notes it
// (see ModelCard::kKeptAsWritten): for a card with an AKO reference, whose
// own entries and copies all wait for the table of the translation. In a
// loop of its own, the index's short names held in registers; the
// translation then passes over those kept as written.
void NoteRows(ParamEntry* begin, ParamEntry* end, ParamRuleTable table) {
  const RuleIndex* const index = RuleFinder(table).index();
  if (index == nullptr) return;
  const RuleIndex::ShortNames shortNames = index->shortNames();
  for (ParamEntry* entry = begin; entry != end; ++entry) {
    if (entry->row != ModelCard::kNotLookedUp || entry->name == nullptr) continue;
    const std::string_view name = entry->name->text;
    const bool number = entry->value == nullptr || entry->value->kind == TokenKind::Number;
    if (number && RuleIndex::ShortNames::Holds(name.size())) {
      entry->row = shortNames.NotedForNumber(name);
      continue;
    }
    const RuleIndex::FoundRow found = index->FindRowAndKeep(name);
    entry->row = found.row < 0                ? ModelCard::kNoRule
                 : found.keeps && number      ? ModelCard::kKeptAsWritten
                                              : static_cast<std::int32_t>(found.row);
  }
}

static_assert(RuleIndex::kNoRow == ModelCard::kNoRule && RuleIndex::kKeeps == ModelCard::kKeptAsWritten);

}  // namespace

template <typename Reserve, typename Take>
void ModelCard::GiveParamsForAko(Reserve&& reserve, Take&& take) {
  const auto give = [&](const ParamList& entries) {
    reserve(entries.size());
    for (const ParamEntry& entry : entries) {
      if (entry.name == nullptr || entry.value == nullptr) continue;
      take(AkoCopy{entry.name->text, entry.value->text, entry.value->kind});
    }
  };
  if (holdsTokens()) return give(params());
  // Translated early (it has no AKO reference of its own): what a card
  // copies from it is what it was written with.
  if (tokens.finished() != nullptr) return WithParamsAsWritten(give);
  if (hasAko_ && link_.ako != nullptr) {
    // The card's own parameters, and those its link took if it ran before:
    // the list the card would hold now.
    const AkoLink& link = *link_.ako;
    const std::span<const KeptAkoCopy> taken = link.source != nullptr ? link.taken() : std::span<const KeptAkoCopy>();
    reserve(link.own().size() + taken.size());
    for (const KeptAkoCopy& copy : link.own()) take(Unkept(copy));
    for (const KeptAkoCopy& copy : taken) take(Unkept(copy));
    return;
  }
  MakeWordsForLink();
  give(params());
  ReleaseTokens();
}

template <typename Give>
void ModelCard::WithParamsAsWritten(Give&& give) {
  const FinishedText* finished = tokens.TakeFinished();
  Token* const name = nameToken;
  const bool typeTranslated = typeTranslated_;
  const std::uint16_t typeOffset = typeOffset_;
  const std::uint16_t typeSize = typeSize_;
  const SourceLine* const typeLine = typeLine_;
  MakeWordsForLink();
  give(params());
  ReleaseTokens();
  nameToken = name;
  typeTranslated_ = typeTranslated;
  typeOffset_ = typeOffset;
  typeSize_ = typeSize;
  typeLine_ = typeLine;
  tokens.SetFinished(finished);
}

void ModelCard::Link() {
  if (!hasAko_) return;
  // A card of an import makes no edit here, nor makes its tokens: it notes
  // what its AKO reference offers, and makes the edit whenever it makes its
  // tokens (for its translation, after every card's link), taking then what
  // it has not got. Its reference was kept when it let its tokens go.
  const bool held = holdsTokens();
  std::string_view reference;
  if (held) {
    if (akoTokens().empty()) return;
    reference = AkoReference();
  } else if (link_.ako != nullptr) {
    reference = link_.ako->reference;
  } else {
    return;
  }
  changed = true;

  const ModelScope* scope = LookupScope();
  ImportedModel* found = scope != nullptr ? scope->FindModel(reference) : nullptr;

  if (found == nullptr) {
    AddDiagnostic(MessageCode::AkoReferenceNotFound, LineOf(nameToken), {reference, ModelName()});
    return ReleaseAfterLink(held);
  }
  // A card in the host's form has no parameters of the dialect to give.
  if (found->origin != Origin::ModelCard || static_cast<const ModelCard*>(found)->kind == CardKind::HostModel) {
    AddDiagnostic(MessageCode::AkoReferenceNotAModel, LineOf(nameToken), {ModelName(), reference});
    return ReleaseAfterLink(held);
  }

  auto* referenced = static_cast<ModelCard*>(found);
  if (store == nullptr) {
    // The referenced card holds its tokens as long as this one.
    std::vector<KeptAkoCopy> taken;
    std::optional<AkoChoice> choice;
    referenced->GiveParamsForAko([&](std::size_t count) { choice.emplace(params(), count); },
                                 [&](const AkoCopy& copy) {
                                   if (choice->Takes(copy.name)) taken.push_back(KeptAkoCopy::Of(copy.name, copy.value, copy.kind));
                                 });
    ApplyAko(taken, *referenced);
    return;
  }
  if (link_.ako == nullptr) KeepAkoReference();
  if (link_.ako == nullptr) return;
  if (link_.ako->chosenFrom != referenced) ChooseCopies(*referenced);
  link_.ako->source = referenced;
  ReleaseTokens();
}

void ModelCard::ChooseCopies(ModelCard& referenced) {
  // What the card takes of what is offered is kept (its texts may live in
  // the referenced card's tokens), so that the card can make the edit again
  // at any time. It is chosen once against the card's own parameters as it
  // kept them: the edit then adds all of it, and a card that refers to this
  // one copies this one's list as it is.
  std::optional<AkoChoice> choice;
  KeptAkoCopy* kept = nullptr;
  std::size_t taken = 0;
  referenced.GiveParamsForAko(
      [&](std::size_t count) {
        choice.emplace(link_.ako->own(), count);
        kept = static_cast<KeptAkoCopy*>(store->Allocate(sizeof(KeptAkoCopy) * count, alignof(KeptAkoCopy)));
      },
      [&](const AkoCopy& copy) {
        if (!choice->Takes(copy.name)) return;
        kept[taken++] = KeptAkoCopy::Of(store->KeepText(copy.name), store->KeepText(copy.value), copy.kind);
      });
  link_.ako->chosenFrom = &referenced;
  link_.ako->SetTaken(std::span<const KeptAkoCopy>(kept, taken));
}

void ModelCard::ChooseAhead(ModelCard& model) {
  if (store == nullptr || !holdsTokens()) return;
  if (link_.ako == nullptr) KeepAkoReference();
  if (link_.ako != nullptr && model.holdsTokens()) ChooseCopies(model);
}

bool ModelCard::NamesByAko(const ModelCard& model) const {
  return holdsTokens() && !akoTokens().empty() && EqualsNoCase(AkoReference(), model.ModelName());
}

std::string_view ModelCard::AkoReference() const {
  // "AKO:NAME" in one token, or "AKO:" followed by the name.
  return akoTokens().size() == 1 ? std::string_view(akoTokens().front()->text).substr(kAkoMarker.size())
                                 : std::string_view(akoTokens()[1]->text);
}

void ModelCard::KeepAkoReference() {
  if (store == nullptr || akoTokens().empty()) return;
  // The card's own parameters as written: what its link chooses against,
  // and what a card that refers to it copies, without making its words.
  auto* own = static_cast<KeptAkoCopy*>(store->Allocate(sizeof(KeptAkoCopy) * params().size(), alignof(KeptAkoCopy)));
  std::uint32_t count = 0;
  for (const ParamEntry& entry : params()) {
    if (entry.name == nullptr || entry.value == nullptr) continue;
    own[count++] = KeptAkoCopy::Of(store->KeepText(entry.name->text), store->KeepText(entry.value->text), entry.value->kind);
  }
  link_.ako = new (store->Allocate(sizeof(AkoLink), alignof(AkoLink)))
      AkoLink{nullptr, nullptr, nullptr, own, store->KeepText(AkoReference()), 0, count};
}

void ModelCard::MakeWordsForLink() {
  MakeWords();
  ParseModel(/*noteRows=*/false, /*cut=*/true);
}

void ModelCard::ReleaseAfterLink(bool held) {
  if (store != nullptr && !held) ReleaseTokens();
}

bool ModelCard::TranslatesAlone() {
  if (hasAko_ || !holdsTokens()) return false;
  // A card whose last line has no line feed ends the file, or is the first
  // piece of a line longer than a line may be: comment lines that later
  // steps give it would run on from that line, where the edits of its
  // translation must see them.
  const Token* last = tokens.back();
  return last != nullptr && !last->text.empty() && last->text.back() == '\n';
}

void ModelCard::ApplyAko(std::span<const KeptAkoCopy> taken, const ModelCard& source) {
  CommentOutBetween(akoTokens().front(), akoTokens().back());
  akoTokens().clear();  // their tokens are gone
  InsertAkoCopies(taken, source);
}

void ModelCard::InsertAkoCopies(std::span<const KeptAkoCopy> taken, const ModelCard& source) {
  if (taken.empty()) return;
  bool lineFeedFirst = false;
  Token* after = ParameterInsertionPoint(lineFeedFirst);
  if (after == nullptr) return;
  // Written where the card's edits build their texts: no heap block per card.
  std::string& note = tokens.Scratch();
  note.assign("Added via AKO reference from: \"").append(source.ModelName()).append("\"");
  InsertParameters(after, lineFeedFirst, taken, note);
}

void ModelCard::TranslateParams(EntrySeen seen) {
  Materialize();
  const ParamRuleTable table = RuleTable();
  // Made for the first entry whose row the parse did not look up.
  std::optional<RuleFinder> rules;
  // A card that has finished holds no entries: nothing to translate.
  TokenRecords* const held = tokens.recorded();
  if (held == nullptr) return;
  bool tcMerged = false;
  bool tcMet = false;
  bool removed = false;

  // Removing an entry only marks it (RemoveParam), so the walk goes on with
  // the entry that followed, and a card with very many parameters is not
  // shifted once per removal. The marks go at the end. Nothing in the walk
  // adds an entry to this card (a move adds to the elements), so the
  // entries stay where they are.
  TokenRecords& recorded = *held;
  ParamEntry* const entries = recorded.params.data();
  ParamEntry* const entriesEnd = entries + recorded.params.size();
  auto remove = [&](ParamEntry& entry) {
    RemoveParam(entry);
    removed = true;
  };
  // What becomes of an entry the parse did not note as kept as written.
  // Inline at both of the walk's calls: as a function of its own it reloads
  // what the walk holds in registers, for every entry.
  const auto translate = [&](ParamEntry& entry) __attribute__((always_inline)) {
    if (seen.call != nullptr) seen.call(seen.context, entry);
    const std::int32_t row = entry.row;
    Token* name = entry.name;
    if (name == nullptr) return;
    const ParamRule* rule = nullptr;
    if (row >= 0) {
      rule = &table[static_cast<std::size_t>(row)];
    } else if (row == kNotLookedUp) {
      if (!rules.has_value()) rules.emplace(table);
      rule = rules->Find(name->text);
    }
    // A value that is no number is a tag that the table of the card it was
    // read on did not know; copied by an AKO reference to a card whose table
    // knows the name, it is no more a value for it.
    const bool tag = entry.value != nullptr && entry.value->kind != TokenKind::Number;
    if (rule == nullptr || tag) {
      AddDiagnostic(MessageCode::UnrecognizedParameter, name->line, {name->text});
      changed = true;
      remove(entry);
      return;
    }
    switch (rule->action) {
      case ParamAction::Keep:
        break;
      case ParamAction::NotSupported:
        changed = true;
        AddDiagnostic(MessageCode::UnsupportedParameter, name->line, {name->text});
        remove(entry);
        break;
      case ParamAction::Rename:
        changed = true;
        if (!rule->target.empty()) {
          name->text = rule->target;
          const bool asWritten = static_cast<std::size_t>(&entry - entries) < recorded.parsedParams;
          if (store != nullptr && asWritten) ++store->statistics().renamedParameters;
        }
        break;
      case ParamAction::MoveToInstance:
        changed = true;
        MoveToInstances(entry, rule->target, tcMerged, tcMet);
        remove(entry);
        break;
      case ParamAction::KeepChanged:
        changed = true;
        break;
      default:
        changed = true;
        AddDiagnostic(MessageCode::UnknownParameterAction, name->line, {name->text});
        remove(entry);
        break;
    }
  };
  if (hasAko_) NoteRows(entries, entriesEnd, table);
  // Most parameters stay as they are written, as the parse noted.
  VisitNotKeptAsWritten(entries, entriesEnd, translate);

  // A card translated early is finished right after its translation, and
  // its entries go with its tokens: what reads them till then passes over
  // the marked ones, as everything that reads entries does.
  if (removed && !translatingEarly()) params().EraseIf([](const ParamEntry& entry) { return entry.name == nullptr; });
}

void ModelCard::RemoveParam(ParamEntry& entry) {
  // Nearly every entry is a name, one separator and its value, in that
  // order: the run is known without a walk from the one to the other.
  Token* const name = entry.name;
  Token* const value = entry.value;
  if (name != nullptr && value != nullptr && name->next != nullptr && name->next->next == value) {
    CommentOutTokens(name, value);
  } else {
    CommentOutBetween(name, value);
  }
  entry = ParamEntry{};
}

void ModelCard::MoveToInstances(const ParamEntry& entry, std::string_view target, bool& tcMerged, bool& tcMet) {
  if (entry.name == nullptr) return;
  InstanceMove move;
  move.name = entry.name->text;
  const Token* valueToken = entry.value;
  move.value = TextOf(valueToken);
  move.kind = valueToken != nullptr ? valueToken->kind : TokenKind::Number;
  move.line = entry.name->line;
  move.temperatureCoefficient = IsTemperatureCoefficient(move.name);
  std::string merged;
  if (!move.temperatureCoefficient) {
    move.instanceName = !target.empty() ? target : move.name;
  } else if (std::exchange(tcMet, true)) {
    // The second of the pair moves nothing (see MoveToUsers): its merged
    // value is never read.
    move.instanceName = "TC";
  } else {
    // The target simulator takes both temperature coefficients as one "TC"
    // instance parameter, "TC1,TC2"; the first of the pair met moves both.
    std::string_view first;
    std::string_view second;
    bool hasFirst = false;
    bool hasSecond = false;
    if (EqualsNoCase(move.name, "TC1")) {
      first = move.value;
      hasFirst = true;
      if (const ParamEntry* other = FindParam("TC2"); other != nullptr && other->value != nullptr) {
        second = other->value->text;
        hasSecond = true;
      }
    } else {
      second = move.value;
      hasSecond = true;
      if (const ParamEntry* other = FindParam("TC1"); other != nullptr && other->value != nullptr) {
        first = other->value->text;
        hasFirst = true;
      }
    }
    if (hasFirst && hasSecond) {
      merged.append(first).append(",").append(second);
    } else if (hasFirst) {
      merged = first;
    } else {
      merged.append("0.0,").append(second);
    }
    move.instanceName = "TC";
    move.mergedValue = merged;
  }
  if (translatingEarly()) {
    // Translated before the link: the users are not known yet. The move is
    // made when the resolve step comes to the card.
    early()->NoteMove(move);
    return;
  }
  MoveToUsers(move, tcMerged);
}

void ModelCard::MoveToUsers(const InstanceMove& move, bool& tcMerged) {
  if (referencedBy.empty()) {
    AddDiagnostic(MessageCode::NoReferencingElements, move.line, {ModelName(), move.name});
    return;
  }
  const QuotedNote quoted("Moved here from model: ", ModelName());
  const std::string_view note = quoted.text();
  if (!move.temperatureCoefficient) {
    for (Card* element : referencedBy) {
      AddDiagnostic(MessageCode::ParameterAddedToDevice, move.line, {move.name, element->NameForMove(), move.instanceName});
      element->AddMovedParameter(move.instanceName, move.value, move.kind, note);
    }
    return;
  }
  if (tcMerged) return;
  for (Card* element : referencedBy) {
    AddDiagnostic(MessageCode::ParameterAddedToDevice, move.line, {move.name, element->NameForMove(), "TC"});
    element->AddMovedParameter("TC", move.mergedValue, TokenKind::Name, note);
  }
  tcMerged = true;
}

std::string_view ModelCard::HostTypeName() const {
  // The host's names of the model types it names differently, by variant.
  switch (kind) {
    case CardKind::CapacitorModel: return "C";
    case CardKind::InductorModel: return "L";
    case CardKind::ResistorModel: return "R";
    case CardKind::CurrentSwitchModel: return "CSW";
    case CardKind::VoltageSwitchModel: return "SW";
    case CardKind::BjtModel: return "PNP";  // of an LPNP
    default: return {};
  }
}

void ModelCard::NoteTypeRename(std::string_view to) const {
  if (target() != TranslationTarget::Ngspice || modelType == nullptr) return;
  AddDiagnostic(MessageCode::ModelTypeRewritten, modelType->line, {modelType->text, to});
}

void ModelCard::RenameTypeAndTranslate() {
  Materialize();
  changed = true;
  if (modelType != nullptr) {
    NoteTypeRename(HostTypeName());
    modelType->text = HostTypeName();
  }
  TranslateParams();
}

}  // namespace zav
