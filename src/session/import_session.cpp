#include "session/import_session.h"

#include <utility>

#include "session/classify_card.h"
#include "session/dropped_card_merge.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/ascii.h"
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

}  // namespace

ImportSession::ImportSession() { SetStyle(1); }

ImportSession::~ImportSession() {
  lineCommentChars.clear();
  inlineCommentChars.clear();
  path.clear();
  while (!lines.empty()) lines.pop_back();
  models.clear();
  definitions_.clear();
  cards.clear();
}

void ImportSession::SetStyle(int32_t styleCode) {
  if (styleCode == style) return;
  style = styleCode;
  for (const CommentConvention& convention : kCommentConventions) {
    if (convention.styleCode == styleCode) {
      lineCommentChars = convention.lineCommentChars;
      inlineCommentChars = convention.inlineCommentChars;
      return;
    }
  }
  lineCommentChars.clear();
  inlineCommentChars.clear();
}

void ImportSession::Import(const char* filePath) {
  path = filePath ? filePath : "";
  hasPath = true;
  ReadFile();
  BuildCards();
  ParseCards();
  ClassifyCards();
  if (!CollectModels()) return;
  LinkCards();
  ResolveCards();
}

void ImportSession::ParseCards() {
  for (auto& card : cards) card->Parse();
}

void ImportSession::ClassifyCards() {
  DroppedCardMerge merge(cards.size());
  const std::size_t count = cards.size();
  for (std::size_t i = 0; i < count; ++i) {
    Card& card = *cards[i];
    std::unique_ptr<Card> typed;
    if (card.FirstToken() == nullptr) {
      // Had the waiting lines been merged already, they would open this card.
      card.kind = CardKind::Unknown;
      const SourceLine* line = merge.FirstWaitingLine();
      if (line == nullptr) line = !card.tokens.empty() ? card.tokens.front()->line : card.FirstSignificantLine();
      AddDiagnostic(MessageCode::NoFirstToken, line);
    } else {
      typed = ClassifyCard(card);
    }
    if (typed) {
      cards[i].reset();  // the typed card has taken its place
      merge.Keep(std::move(typed));
      continue;
    }
    if (!merge.Drop(card, i + 1 == count)) break;
  }
  cards = merge.TakeKept();
}

bool ImportSession::CollectModels() {
  DroppedCardMerge merge(cards.size());
  const std::size_t count = cards.size();
  bool goesOn = true;
  std::size_t i = 0;
  while (i < count) {
    Card* card = cards[i].get();
    if (card->kind == CardKind::Subckt) {
      definitions_.push_back(std::make_unique<SubcircuitModel>(this, static_cast<SubcktCard*>(card)));
      SubcircuitModel* definition = definitions_.back().get();
      models.push_back(definition);
      merge.Keep(std::move(cards[i++]));
      while (i < count) {
        Card* member = cards[i].get();
        merge.Keep(std::move(cards[i++]));
        if (definition->AddCard(member)) break;
      }
      continue;
    }
    if (IsModelKind(card->kind)) {
      card->session = this;
      models.push_back(card);
      merge.Keep(std::move(cards[i++]));
      continue;
    }
    AddDiagnostic(MessageCode::ElementNotInSubcircuit, card->FirstSignificantLine());
    if (!merge.Drop(*card, i + 1 == count)) {
      goesOn = false;
      break;
    }
    ++i;
  }
  cards = merge.TakeKept();
  BuildModelIndex();
  return goesOn;
}

void ImportSession::LinkCards() {
  for (auto& card : cards) card->Link();
}

void ImportSession::ResolveCards() {
  for (auto& card : cards) card->Resolve();
}

void ImportSession::BuildModelIndex() {
  modelIndex_.clear();
  modelIndex_.reserve(models.size());
  for (ImportedModel* model : models) {
    if (model->nameToken == nullptr) continue;
    modelIndex_.emplace(model->nameToken->text, model);  // the first of a name wins
  }
  indexBuilt_ = true;
}

ImportedModel* ImportSession::FindModel(std::string_view name) const {
  if (indexBuilt_) {
    auto found = modelIndex_.find(name);
    return found == modelIndex_.end() ? nullptr : found->second;
  }
  for (ImportedModel* model : models) {
    if (model->nameToken != nullptr && EqualsNoCase(model->nameToken->text, name)) return model;
  }
  return nullptr;
}

}  // namespace zav
