#include "session/import_session.h"

#include <utility>

#include "elements/element_card.h"
#include "models/early_translation.h"
#include "models/model_card.h"
#include "session/classify_card.h"
#include "session/dropped_card_merge.h"
#include "session/import_settings.h"
#include "session/ngspice_statements.h"
#include "diagnostics/add_diagnostic.h"
#include "diagnostics/diagnostic_sink.h"
#include "platform/ascii.h"
#include "platform/file_access.h"
#include "subcircuits/subckt_card.h"
#include "subcircuits/subcircuit_model.h"

namespace zav {
namespace {

// Comment conventions by style code.
struct CommentConvention {
  int32_t styleCode;
  const char* lineCommentChars;
  const char* inlineCommentChars;
};

constexpr CommentConvention kCommentConventions[] = {
    {1, ";*", ";"},
    {0, "*", ""},
};

// Whether the card's statement line begins with the model keyword, as the
// reader found it: such a card is tokenized whole when it is classified, so
// that it can be translated at once. (Should its first word not make it a
// model card after all, it lets its tokens go like any other.)
bool StartsModelStatement(const LineList& lines) {
  for (const SourceLine* line : lines) {
    if (line->kind != LineKind::Comment) return line->kind == LineKind::Model;
  }
  return false;
}

}  // namespace

ImportSession::ImportSession() : store_(std::make_unique<CardStore>()) { SetStyle(1); }

ImportSession::~ImportSession() {
  lineCommentChars_.clear();
  inlineCommentChars_.clear();
  path_.clear();
  // The lines own nothing (see ImportLineAllocator).
  lines_.clear();
  models_.clear();
  definitions_.clear();
  // Most cards free nothing of their own when they are destroyed: their
  // memory goes with the store, without a call of each one's destructor.
  for (auto& card : cards_) {
    if (card->FreesNothing()) static_cast<void>(card.release());
  }
  cards_.clear();
}

void ImportSession::SetStyle(int32_t styleCode) {
  if (styleCode == style_) return;
  style_ = styleCode;
  lineCommentChars_.clear();
  inlineCommentChars_.clear();
  for (const CommentConvention& convention : kCommentConventions) {
    if (convention.styleCode == styleCode) {
      lineCommentChars_ = convention.lineCommentChars;
      inlineCommentChars_ = convention.inlineCommentChars;
      break;
    }
  }
  lineCommentChar_.fill(false);
  for (char c : lineCommentChars_) lineCommentChar_[static_cast<unsigned char>(c)] = true;
}

void ImportSession::Import(const char* filePath, Stage last) {
  path_ = filePath ? filePath : "";
  store_->keepEditedTokens = CurrentImportSettings().keepEditedTokens;
  store_->target = CurrentImportSettings().target;
  fileSize_ = FileSize(path_.c_str());
  ReadFile(last != Stage::Read);
  if (last == Stage::Read) return;
  if (last == Stage::BuildCards || last == Stage::Parse) {
    MakeGenericCards();
    if (last == Stage::Parse) ParseCards();
    return;
  }
  // From here on each card is tokenized when it is classified, and holds its
  // tokens only while a step works on it.
  // A card translated early makes its tokens once instead of twice; the
  // report, which keeps edited cards' tokens, and an import that stops
  // before the translation take every card through the steps in turn.
  ClassifyCards(last == Stage::Resolve && !store_->keepEditedTokens);
  if (last == Stage::Classify) return;
  if (!CollectModels() || last == Stage::Collect) return;
  LinkCards();
  if (last == Stage::Link) return;
  ResolveCards();
}

ImportedModel* ImportSession::FirstModel() {
  if (models_.empty()) return nullptr;
  modelCursor_ = 0;
  modelCursorSet_ = true;
  return models_.front();
}

ImportedModel* ImportSession::NextModel() {
  // Before any FirstModel the cursor has no position: that is the end too.
  if (!modelCursorSet_ || modelCursor_ >= models_.size()) return nullptr;
  ++modelCursor_;
  return modelCursor_ < models_.size() ? models_[modelCursor_] : nullptr;
}

void ImportSession::ParseCards() {
  for (auto& card : cards_) card->Parse();
}

void ImportSession::ClassifyCards(bool translateEarly) {
  DroppedCardMerge merge(runs_.size());
  const std::size_t count = runs_.size();
  // How deep in .SUBCKT blocks the cards kept so far stand, as the
  // collection will find it: a .SUBCKT opens a block, an .ENDS closes the
  // innermost one, and one outside every block changes nothing.
  std::size_t depth = 0;
  // One generic card serves every run in turn: the typed card takes its
  // lines and tokens over and leaves it empty, and the tokens of a card
  // dropped go when the next run makes its own.
  Card card;
  card.store = store_.get();
  // A model card to be translated early waits until the next run is
  // classified, before anything of that run is merged: when the next card
  // refers to it by AKO, as vendors write a family's variants, the
  // translation keeps what the variant copies, which the link would else
  // have to cut from the card's lines again.
  ModelCard* waiting = nullptr;
  bool waitingInside = false;
  const auto translateWaiting = [&](Card* next) {
    if (waiting == nullptr) return;
    ModelCard* variant = next != nullptr && IsModelKind(next->kind) ? static_cast<ModelCard*>(next) : nullptr;
    if (variant != nullptr && !variant->RefersByAko(*waiting)) variant = nullptr;
    TranslateEarly(*waiting, waitingInside, variant);
    waiting = nullptr;
  };
  for (std::size_t i = 0; i < count; ++i) {
    card.lines.Borrow(&lines_[runs_[i].first], runs_[i].count);
    if (store_->target == TranslationTarget::Ngspice && IsNgspiceStatement(card.lines)) {
      // Read by ngspice as written: the lines go with their neighbour like
      // those of a dropped card, but as comment lines already (a comment line
      // is never commented out again), and nothing is filed but the
      // rewriting of their expressions.
      PassStatementThrough(card.lines, *store_);
      translateWaiting(nullptr);
      if (!merge.Drop(card, i + 1 == count)) break;
      continue;
    }
    const bool whole = translateEarly && StartsModelStatement(card.lines);
    if (whole) {
      card.Card::Parse();
    } else {
      card.ParseWords();
    }
    std::unique_ptr<Card> typed;
    if (card.FirstToken() == nullptr) {
      // Had the waiting lines been merged already, they would open this card.
      card.kind = CardKind::Unknown;
      const SourceLine* line = merge.FirstWaitingLine();
      if (line == nullptr) line = !card.tokens.empty() ? card.tokens.front()->line : card.FirstSignificantLine();
      AddDiagnostic(MessageCode::NoFirstToken, line);
    } else {
      typed = ClassifyCard(card, whole);
    }
    translateWaiting(typed.get());
    if (typed) {
      // Classified: the card's lines hold everything it needs from now on
      // until a later step asks for its tokens again.
      ModelCard* early = nullptr;
      if (whole && IsModelKind(typed->kind) && static_cast<ModelCard*>(typed.get())->TranslatesAlone()) {
        early = static_cast<ModelCard*>(typed.get());
      } else {
        typed->ReleaseTokens();
      }
      if (typed->kind == CardKind::Subckt) ++depth;
      if (typed->kind == CardKind::Ends && depth > 0) --depth;
      merge.Keep(std::move(typed));
      // After the merge: comment lines waiting for the card are in its text.
      waiting = early;
      waitingInside = depth > 0;
      continue;
    }
    if (!merge.Drop(card, i + 1 == count)) break;
  }
  translateWaiting(nullptr);
  cards_ = merge.TakeKept();
  runs_ = decltype(runs_)();
}

bool ImportSession::CollectModels() {
  DroppedCardMerge merge(cards_);
  // Every card joins at most one top-level block: the list never grows past
  // this, so the blocks' views of it stay valid.
  blockCards_.reserve(cards_.size());
  const std::size_t count = cards_.size();
  bool goesOn = true;
  std::size_t i = 0;
  while (i < count) {
    Card* card = cards_[i].get();
    if (card->kind == CardKind::Subckt) {
      definitions_.push_back(SubcircuitModel::Make(this, static_cast<SubcktCard*>(card), &blockCards_));
      SubcircuitModel* definition = definitions_.back().get();
      models_.push_back(definition);
      merge.KeepAt(i++);
      while (i < count) {
        Card* member = cards_[i].get();
        merge.KeepAt(i++);
        if (definition->AddCard(member)) break;
      }
      continue;
    }
    if (IsModelKind(card->kind)) {
      static_cast<ModelCard*>(card)->session = this;
      models_.push_back(card);
      merge.KeepAt(i++);
      continue;
    }
    AddDiagnostic(MessageCode::ElementNotInSubcircuit, card->FirstSignificantLine());
    if (!merge.Drop(*card, i + 1 == count)) {
      goesOn = false;
      break;
    }
    ++i;
  }
  merge.FinishInPlace();
  BuildModelIndex();
  return goesOn;
}

void ImportSession::LinkCards() {
  for (auto& card : cards_) card->Link();
  // Every lookup by name happens in the link: the index goes before the
  // translation adds the cards' edited texts (a later FindModel walks the
  // model list).
  modelIndex_.Clear();
  indexBuilt_ = false;
}

void ImportSession::TranslateEarly(ModelCard& model, bool insideDefinition, ModelCard* variant) {
  if (early_ == nullptr) early_ = std::make_unique<EarlyTranslation>(CurrentDiagnosticSink().WantsTexts());
  early_->Translate(model, insideDefinition, store_->target == TranslationTarget::Ngspice, variant);
}

void ImportSession::ResolveCards() {
  // A card is finished (its text kept, its tokens let go) once nothing will
  // edit it again: after its own step, and, for an element that uses a model
  // card, after that model's step too, which may add parameters to it.
  DiagnosticSink& sink = CurrentDiagnosticSink();
  for (auto& card : cards_) {
    auto* model = card->origin == ImportedModel::Origin::ModelCard ? static_cast<ModelCard*>(card.get()) : nullptr;
    if (model != nullptr && model->translatedEarly()) {
      // Translated when it was classified: its diagnostics come now, where
      // its step would have filed them, and its moves to the elements that
      // use it among them.
      early_->Complete(*model, sink);
    } else {
      card->Resolve();
      if (store_->target == TranslationTarget::Ngspice) card->RewriteBraceExpressions();
    }
    auto* element = IsElementKind(card->kind) ? static_cast<ElementCard*>(card.get()) : nullptr;
    if (element != nullptr) element->resolved = true;
    if (element == nullptr) {
      card->Finish();
    } else if (!element->awaitsModel) {
      element->FinishEdits();
    }
    if (model == nullptr) continue;
    for (Card* user : model->referencedBy) {
      auto* waiting = static_cast<ElementCard*>(user);
      waiting->awaitsModel = false;
      // An element before its model has had its own step already.
      if (waiting->resolved) waiting->FinishEdits();
    }
    // Only the model's translation reads the list of its users.
    model->referencedBy = CompactList<Card*>();
  }
  early_.reset();
}

void ImportSession::BuildModelIndex() {
  modelIndex_.Clear();
  modelIndex_.Reserve(models_.size());
  for (ImportedModel* model : models_) {
    if (model->nameToken == nullptr) continue;
    // The name outlives the index: a model keeps its name token.
    modelIndex_.Add(model->nameToken->text, model);  // the first of a name wins
  }
  indexBuilt_ = true;
}

ImportedModel* ImportSession::FindModel(std::string_view name) const {
  if (indexBuilt_) {
    ImportedModel* const* found = modelIndex_.Find(name);
    return found == nullptr ? nullptr : *found;
  }
  for (ImportedModel* model : models_) {
    if (model->nameToken != nullptr && EqualsNoCase(model->nameToken->text, name)) return model;
  }
  return nullptr;
}

}  // namespace zav
