#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cards/card.h"
#include "cards/compact_list.h"
#include "cards/kept_parameter.h"
#include "models/param_rule.h"

namespace zav {

class EarlyTranslation;

// A .MODEL statement: name, optional AKO reference, model type and parameter
// pairs. The factory builds one of the nine variants by the model type.
class ModelCard : public Card {
 public:
  // A card of no variant: origin ModelCard, kind CardKind::Model, no model
  // type, no AKO tokens.
  ModelCard(Card& source, TakeOver);
  // A variant: takes the card's lines and tokens over, so that its name
  // token and AKO tokens are the very tokens the head of the parse recorded.
  ModelCard(Card& source, TakeOver, CardKind kind);

  // Parses a generic card, whose tokens are those its lines were cut into,
  // and builds its variant; none (after a diagnostic) when the parse, the
  // model type or the MOSFET level fails, the card keeping its lines then.
  // `noteRows`: whether the entries get their rows (see kKeptAsWritten), for
  // a card that may be translated with the tokens it is classified with.
  static std::unique_ptr<ModelCard> Create(Card& card, bool noteRows = true);

  std::string ModelText() const override { return OutputText(); }
  void AppendModelText(std::string& out) const override { AppendOutputText(out); }
  void JoinModelText(JoiningAppender& out) const override { AppendOutputText(out); }
  void Parse() override;  // the .MODEL parse
  void Link() override;   // AKO resolution

  // The variant's translation table (a span: it carries its row count);
  // empty for a card of no variant.
  virtual ParamRuleTable RuleTable() { return {}; }

  // The first parameter whose name equals `name` without regard to case.
  ParamEntry* FindParam(std::string_view name);

  // The name of the model (its name token's text), empty without one.
  std::string_view ModelName() const;
  // Whether the card, while it holds the tokens it was classified with,
  // refers to `model` by AKO, by its name alone. Inline: asked of every
  // model card that follows one translated early.
  bool RefersByAko(const ModelCard& model) const { return hasAko_ && NamesByAko(model); }
  // Chooses, while the card holds the tokens it was classified with, what
  // it takes of the parameters `model` offers, which `model` holds as
  // written: its early translation is about to change them. Vendors write a
  // family's variants right after the model they refer to. The link then
  // finds the choice made when the reference finds `model`, and need not cut
  // `model` again.
  void ChooseAhead(ModelCard& model);

  // Post-processing steps shared by the variants. Removing a parameter
  // comments it out and marks its entry (its name becomes none), for the
  // translation pass to compact the entries once at its end.
  // `seen`, when given, is called with each entry the pass does not pass
  // over as kept as written, before the entry is translated: a variant that
  // reads a few of its parameters as written (a MOSFET its L and W) reads
  // them in the same walk.
  struct EntrySeen {
    void (*call)(void* context, const ParamEntry& entry) = nullptr;
    void* context = nullptr;
  };
  void TranslateParams(EntrySeen seen);
  void TranslateParams() { TranslateParams(EntrySeen{}); }
  void RemoveParam(ParamEntry& entry);
  // `tcMet`: whether the walk met TC1 or TC2 before on this card.
  void MoveToInstances(const ParamEntry& entry, std::string_view target, bool& tcMerged, bool& tcMet);

  // One parameter a model gives the elements that use it, as the model's
  // own text decides it.
  struct InstanceMove {
    std::string_view name;          // as written in the model
    std::string_view value;
    std::string_view instanceName;  // what the elements call it
    // For TC1 or TC2: both coefficients as the elements' one "TC" value.
    std::string_view mergedValue;
    const SourceLine* line = nullptr;
    // For a card translated early: how many of its diagnostics come first.
    std::uint32_t diagnosticsBefore = 0;
    TokenKind kind = TokenKind::Number;
    bool temperatureCoefficient = false;
  };
  // Gives the move to every element that uses the model (diagnostic 26
  // each), or files warning 25 when none does. Of TC1 and TC2 only the first
  // met moves, both at once: `tcMerged` tells that it has.
  void MoveToUsers(const InstanceMove& move, bool& tcMerged);

  // One parameter an AKO reference copied into a card.
  struct AkoCopy {
    std::string_view name;
    std::string_view value;
    TokenKind kind;
  };

  // Whether the card's translation reads nothing but the card itself, once
  // what depends on the elements that use it is left for later (see
  // EarlyTranslation): not with an AKO reference, nor when its last line has
  // no line feed. Such a card can be translated as soon as it is classified,
  // while it holds its tokens. Asked while it holds them.
  virtual bool TranslatesAlone();
  // What `row` of a parameter entry holds. The parse of a card without an
  // AKO reference looks every name up in the table the card translates with
  // (RuleTable): the entry holds the row found, kNoRule for none, or
  // kKeptAsWritten when the row keeps the parameter as it is and its value is
  // a number, the common case, which the translation passes over without
  // looking at the row. An entry of a card with an AKO reference, or one an
  // edit added, holds kNotLookedUp.
  static constexpr std::int32_t kNotLookedUp = -1;
  static constexpr std::int32_t kNoRule = -2;
  static constexpr std::int32_t kKeptAsWritten = -3;
  // Whether the card was translated when it was classified (see
  // EarlyTranslation).
  bool translatedEarly() const { return early() != nullptr; }
  // Calls `visit(entry)` for each entry from `begin` to `end` whose row is
  // not kKeptAsWritten, in order. Most rows are: the walk passes over them
  // with no test for the end, the last entry reading as not looked up till
  // the walk comes to it. `visit` reads no other entry's row meanwhile.
  template <typename Visit>
  static void VisitNotKeptAsWritten(ParamEntry* begin, ParamEntry* end, Visit&& visit) {
    if (begin == end) return;
    ParamEntry* const last = end - 1;
    const std::int32_t lastRow = last->row;
    last->row = kNotLookedUp;
    for (ParamEntry* entry = begin;; ++entry) {
      while (entry->row == kKeptAsWritten) ++entry;
      if (entry == last) break;
      visit(*entry);
    }
    last->row = lastRow;
    if (lastRow != kKeptAsWritten) visit(*last);
  }

  const ModelScope* Session() const override { return session; }
  void AddUser(Card* element) override { referencedBy.push_back(element, element->store); }

  const ModelScope* session = nullptr;  // the import; set for top-level models
  CompactList<Card*> referencedBy;      // the elements that name this model; not owned
  Token* modelType = nullptr;         // a token of this card; none without tokens
  // Tokens of this card, kept with them.
  TokenRefList<1> akoTokens() { return TokenRefList<1>(tokens); }
  const TokenRefList<1> akoTokens() const { return TokenRefList<1>(const_cast<TokenList&>(tokens)); }

  // The model type as it reads now (translated once the translation ran)
  // and the line it stands on, whether or not the card holds its tokens.
  std::string_view TypeText() const;
  const SourceLine* TypeLine() const { return modelType != nullptr ? modelType->line : typeLine_; }

 protected:
  friend class EarlyTranslation;
  // The early translation of the card, while it runs and until its resolve
  // step comes; none for a card translated in its turn.
  EarlyTranslation* early() const { return hasAko_ ? nullptr : link_.early; }
  void SetEarly(EarlyTranslation* early) { link_.early = early; }
  // Whether the translation running now is an early one.
  bool translatingEarly() const;
  // The MOSFET level the card's own parameters give (see parsedLevel_); 0
  // when the parse did not keep it. Not for a card with an AKO reference,
  // whose copies may give the level.
  int ParsedLevel() const { return hasAko_ ? 0 : parsedLevel_; }
  // What a variant left for the resolve step of a card translated early,
  // made before its diagnostics are filed and after.
  virtual void BeforeEarlyDiagnostics() {}
  virtual void AfterEarlyDiagnostics() {}

  void RecordTokens() override;
  // The name and the model type stay readable: models are looked up and
  // listed by them.
  void ForgetTokens() override;

  // The resolve step of the passive-device and switch variants: the model
  // type gets the name the target simulator uses (HostTypeName), then the
  // translation pass.
  void RenameTypeAndTranslate();
  // The host's name of the model type, for the variants whose type the host
  // names differently (for a bipolar model: of an LPNP); none for the others.
  // ngspice names these types as the host does.
  std::string_view HostTypeName() const;
  // Files that the model type is written in ngspice's name, when translating
  // for ngspice; the host is told nothing of it.
  void NoteTypeRename(std::string_view to) const;

  // The names and the dialect's defaults of a switch model's parameters.
  struct SwitchParameters {
    std::string_view on;          // the control value at which it is fully on
    std::string_view off;         // ... and fully off
    std::string_view onDefault;   // their values when the model omits them
    std::string_view offDefault;
    std::string_view threshold;   // ngspice's names of the pair
    std::string_view hysteresis;
  };
  // The resolve step of a switch variant for ngspice (switch_points.cpp).
  void TranslateSwitchForNgspice(const SwitchParameters& names);

 private:
  // The .MODEL parse: the variant its model type names, CardKind::Unknown
  // for none (or when the parse failed). `noteRows`: whether the entries get
  // their rows (see kKeptAsWritten); not for a look at the words that are
  // let go right afterwards. `cut`: whether the tokens are those the lines
  // were cut into, not edited since.
  CardKind ParseModel(bool noteRows, bool cut);
  // The head of the .MODEL parse on any card (the generic one classification
  // gives, before a variant takes it over): the keyword, the name (the
  // card's nameToken), the AKO tokens, the model type (`type`) and the
  // variant it names. False after a diagnostic; `valid` stays as it is.
  static bool ParseHead(Card& card, Token*& type, CardKind& variant);
  // What the head found, kept by the card that took the tokens over.
  void AdoptHead(Token* type);
  // The rest of the parse after the head, for a variant other than the
  // host's (see ParseModel).
  void ParseRest(CardKind variant, bool noteRows, bool cut);
  // The parameter pairs after the model type, for a card of the given
  // variant (CardKind::Unknown for a model type the factory will not take).
  void ParseParameters(CardKind variant, bool noteRows, bool cut);

  // Whether the parse found an AKO reference.
  bool hasAko_ = false;
  // The model type (see TypeText) while the card holds no tokens: the host's
  // name once translated, else its place in its line's text.
  bool typeTranslated_ = false;
  std::uint16_t typeOffset_ = 0;
  std::uint16_t typeSize_ = 0;
  // A MOSFET's level as its parse read it, the first LEVEL parameter's
  // value (1 without one), so that the steps after it need not look for it
  // again; 0 when not read, or beyond what a byte holds.
  std::int8_t parsedLevel_ = 0;
  const SourceLine* typeLine_ = nullptr;
  // The name token while the card holds no tokens (see ForgetTokens): in the
  // card, not a token of its own in the store, for every model card lets its
  // tokens go at least once and is looked up by its name afterwards.
  Token keptName_;

  // The parameters the link copied through the AKO reference, and from
  // which card: a card of an import lets its tokens go after the link, and
  // makes the same edit again whenever it makes its tokens again.
  // An AkoCopy as the link keeps it, as the card's edit then adds it.
  using KeptAkoCopy = KeptParameter;
  static AkoCopy Unkept(const KeptAkoCopy& kept) { return AkoCopy{kept.Name(), kept.Value(), kept.Kind()}; }
  // Made when the card first lets its tokens go (or chooses ahead), with
  // its own parameters and the name it refers to; the link notes the card
  // found (none: not linked) and, of the parameters it offers, those the
  // card takes: the names it has not got. A large file has hundreds of
  // thousands of these: the lists' sizes are packed beside each other.
  struct AkoLink {
    const ModelCard* source;
    // The card `taken` was chosen from, before the link when the card chose
    // ahead (see ChooseAhead): the link keeps the choice when its reference
    // finds that card.
    const ModelCard* chosenFrom;
    const KeptAkoCopy* takenCopies;
    const KeptAkoCopy* ownCopies;
    std::string_view reference;
    std::uint32_t takenSize;
    std::uint32_t ownSize;

    std::span<const KeptAkoCopy> taken() const { return {takenCopies, takenSize}; }
    std::span<const KeptAkoCopy> own() const { return {ownCopies, ownSize}; }
    void SetTaken(std::span<const KeptAkoCopy> copies) {
      takenCopies = copies.data();
      takenSize = static_cast<std::uint32_t>(copies.size());
    }
  };
  // Once the link found the referenced card; none before, or without one.
  const AkoLink* akoLink() const {
    return hasAko_ && link_.ako != nullptr && link_.ako->source != nullptr ? link_.ako : nullptr;
  }
  // What the card is linked to besides its users: a card with an AKO
  // reference to its AkoLink (see there), one without to its early
  // translation (`hasAko_` tells which). A model card of a large file is
  // one of hundreds of thousands: one pointer serves both.
  union {
    AkoLink* ako;
    EarlyTranslation* early;
  } link_{nullptr};

  // The name the AKO reference gives, read from its tokens.
  std::string_view AkoReference() const;
  bool NamesByAko(const ModelCard& model) const;
  // Chooses what the card takes of the parameters `referenced` offers and
  // keeps them in its AkoLink (see there).
  void ChooseCopies(ModelCard& referenced);
  // Makes the card's AkoLink with its own parameters and the name it refers
  // to, while it holds its tokens: the link need not make them.
  void KeepAkoReference();
  // Gives the parameters this card has now to a card whose AKO reference
  // names it: `reserve(count)` once with how many at most, then
  // `take(copy)` with each AkoCopy in order. Read from its words when it
  // holds no tokens.
  template <typename Reserve, typename Take>
  void GiveParamsForAko(Reserve&& reserve, Take&& take);
  // Makes the card's words and parses them, without the rows of its
  // entries: the link reads no more.
  void MakeWordsForLink();
  // Calls `give` with the entries of the card's words, for a card finished
  // already: read from its lines, its finished text and what it keeps of
  // its name and type left as they are.
  template <typename Give>
  void WithParamsAsWritten(Give&& give);
  void ReleaseAfterLink(bool held);
  // Comments the AKO reference out and adds the parameters the card took
  // of those offered (see AkoLink).
  void ApplyAko(std::span<const KeptAkoCopy> taken, const ModelCard& source);
  void InsertAkoCopies(std::span<const KeptAkoCopy> taken, const ModelCard& source);
};

}  // namespace zav
