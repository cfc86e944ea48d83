#include "session/import_session.h"

#include <utility>

#include "session/classify_card.h"
#include "session/dropped_card_merge.h"
#include "diagnostics/add_diagnostic.h"
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

}  // namespace

ImportSession::ImportSession() { SetStyle(1); }

ImportSession::~ImportSession() {
  lineCommentChars_.clear();
  inlineCommentChars_.clear();
  path_.clear();
  while (!lines_.empty()) lines_.pop_back();
  models_.clear();
  definitions_.clear();
  cards_.clear();
}

void ImportSession::SetStyle(int32_t styleCode) {
  if (styleCode == style_) return;
  style_ = styleCode;
  for (const CommentConvention& convention : kCommentConventions) {
    if (convention.styleCode == styleCode) {
      lineCommentChars_ = convention.lineCommentChars;
      inlineCommentChars_ = convention.inlineCommentChars;
      return;
    }
  }
  lineCommentChars_.clear();
  inlineCommentChars_.clear();
}

void ImportSession::Import(const char* filePath, Stage last) {
  path_ = filePath ? filePath : "";
  fileSize_ = FileSize(path_.c_str());
  ReadFile();
  if (last == Stage::Read) return;
  BuildCards();
  if (last == Stage::BuildCards) return;
  ParseCards();
  if (last == Stage::Parse) return;
  ClassifyCards();
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

void ImportSession::ClassifyCards() {
  DroppedCardMerge merge(cards_.size());
  const std::size_t count = cards_.size();
  for (std::size_t i = 0; i < count; ++i) {
    Card& card = *cards_[i];
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
      cards_[i].reset();  // the typed card has taken its place
      merge.Keep(std::move(typed));
      continue;
    }
    if (!merge.Drop(card, i + 1 == count)) break;
  }
  cards_ = merge.TakeKept();
}

bool ImportSession::CollectModels() {
  DroppedCardMerge merge(cards_.size());
  const std::size_t count = cards_.size();
  bool goesOn = true;
  std::size_t i = 0;
  while (i < count) {
    Card* card = cards_[i].get();
    if (card->kind == CardKind::Subckt) {
      definitions_.push_back(std::make_unique<SubcircuitModel>(this, static_cast<SubcktCard*>(card)));
      SubcircuitModel* definition = definitions_.back().get();
      models_.push_back(definition);
      merge.Keep(std::move(cards_[i++]));
      while (i < count) {
        Card* member = cards_[i].get();
        merge.Keep(std::move(cards_[i++]));
        if (definition->AddCard(member)) break;
      }
      continue;
    }
    if (IsModelKind(card->kind)) {
      card->session = this;
      models_.push_back(card);
      merge.Keep(std::move(cards_[i++]));
      continue;
    }
    AddDiagnostic(MessageCode::ElementNotInSubcircuit, card->FirstSignificantLine());
    if (!merge.Drop(*card, i + 1 == count)) {
      goesOn = false;
      break;
    }
    ++i;
  }
  cards_ = merge.TakeKept();
  BuildModelIndex();
  return goesOn;
}

void ImportSession::LinkCards() {
  for (auto& card : cards_) card->Link();
}

void ImportSession::ResolveCards() {
  for (auto& card : cards_) card->Resolve();
}

void ImportSession::BuildModelIndex() {
  modelIndex_.clear();
  modelIndex_.reserve(models_.size());
  for (ImportedModel* model : models_) {
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
  for (ImportedModel* model : models_) {
    if (model->nameToken != nullptr && EqualsNoCase(model->nameToken->text, name)) return model;
  }
  return nullptr;
}

}  // namespace zav
