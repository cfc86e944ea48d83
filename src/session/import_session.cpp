#include "session/import_session.h"

#include <utility>

#include "cards/classify_card.h"
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

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = AsciiToUpper(c);
  return upper;
}

// The line a card's first significant token stands on, else its first line.
const SourceLine* FirstTokenLine(Card& card) {
  if (Token* first = card.FirstToken()) return first->line;
  return card.lines.empty() ? nullptr : card.lines.front();
}

}  // namespace

ImportSession::ImportSession() { SetStyle(1); }

ImportSession::~ImportSession() {
  lineCommentChars.clear();
  inlineCommentChars.clear();
  path.clear();
  while (!lines.empty()) lines.pop_back();
  for (ImportedModel* model : models) {
    if (model->origin == ImportedModel::Origin::Subcircuit) delete model;
  }
  models.clear();
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
  fileSize = FileSize(path.c_str());
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

// Dropped cards are merged as comment lines into the next card, or into the
// previous one when they are last. Merging one card at a time would move the
// lines of a long run of dropped cards again and again; instead the lines of
// a run wait in `pending` and go to the card that ends the run in one step.
// Nothing observable depends on the moment of the merge except the line that
// diagnostic 5 quotes, which is taken from the waiting lines.
void ImportSession::ClassifyCards() {
  std::vector<std::unique_ptr<Card>> kept;
  kept.reserve(cards.size());
  std::vector<SourceLine*> pending;
  const std::size_t count = cards.size();
  for (std::size_t i = 0; i < count; ++i) {
    Card& card = *cards[i];
    std::unique_ptr<Card> typed;
    if (card.FirstToken() == nullptr) {
      // Had the waiting lines been merged already, they would open this card.
      card.kind = CardKind::Unknown;
      const SourceLine* line = !pending.empty()       ? pending.front()
                               : !card.tokens.empty() ? card.tokens.front()->line
                               : card.lines.empty()   ? nullptr
                                                      : card.lines.front();
      AddDiagnostic(5, line);
    } else {
      typed = ClassifyCard(card);
    }
    if (typed) {
      cards[i].reset();  // the typed card has taken its place
      if (!pending.empty()) {
        typed->PrependCommentLines(pending);
        pending.clear();
      }
      kept.push_back(std::move(typed));
      continue;
    }
    const bool isLast = i + 1 == count;
    if (isLast && kept.empty()) {
      AddDiagnostic(4, nullptr);
      pending.clear();
      break;
    }
    pending.insert(pending.end(), card.lines.begin(), card.lines.end());
    if (isLast) {
      kept.back()->AppendCommentLines(pending);
      pending.clear();
    }
    cards[i].reset();  // its lines live on in `pending`
  }
  cards = std::move(kept);
}

// A dropped card is destroyed where it stands and the list is closed up at
// the end. Until then every card stays in `cards`, so that, should memory run
// out on the way, the session still owns each card its model list and its
// subcircuit models point to.
bool ImportSession::CollectModels() {
  std::vector<SourceLine*> pending;
  auto takePending = [&pending](Card& card) {
    if (pending.empty()) return;
    card.PrependCommentLines(pending);
    pending.clear();
  };
  const std::size_t count = cards.size();
  bool goesOn = true;
  Card* lastKept = nullptr;
  std::size_t i = 0;
  while (i < count) {
    Card* card = cards[i].get();
    if (card->kind == CardKind::Subckt) {
      takePending(*card);
      auto owned = std::make_unique<SubcircuitModel>(this, static_cast<SubcktCard*>(card));
      models.push_back(owned.get());
      SubcircuitModel* definition = owned.release();  // the model list owns it now
      lastKept = card;
      ++i;
      while (i < count) {
        Card* member = cards[i++].get();
        lastKept = member;
        if (definition->AddCard(member)) break;
      }
      continue;
    }
    if (IsModelKind(card->kind)) {
      takePending(*card);
      card->session = this;
      models.push_back(card);
      lastKept = card;
      ++i;
      continue;
    }
    AddDiagnostic(13, FirstTokenLine(*card));
    const bool isLast = i + 1 == count;
    if (isLast && lastKept == nullptr) {
      AddDiagnostic(4, nullptr);
      pending.clear();
      cards[i].reset();
      goesOn = false;
      break;
    }
    pending.insert(pending.end(), card->lines.begin(), card->lines.end());
    if (isLast) {
      lastKept->AppendCommentLines(pending);
      pending.clear();
    }
    cards[i++].reset();  // its lines live on in `pending` or in the last card kept
  }
  std::erase(cards, nullptr);
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
    modelIndex_.emplace(UpperCase(model->nameToken->text), model);  // the first of a name wins
  }
  indexBuilt_ = true;
}

ImportedModel* ImportSession::FindModel(std::string_view name) const {
  if (indexBuilt_) {
    auto found = modelIndex_.find(UpperCase(name));
    return found == modelIndex_.end() ? nullptr : found->second;
  }
  for (ImportedModel* model : models) {
    if (model->nameToken != nullptr && EqualsNoCase(model->nameToken->text, name)) return model;
  }
  return nullptr;
}

}  // namespace zav
