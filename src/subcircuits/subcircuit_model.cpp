#include "subcircuits/subcircuit_model.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <unordered_map>

#include "cards/card.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/no_case_hash.h"
#include "subcircuits/subckt_card.h"

namespace zav {
namespace {

// From card position `start` on (up to the next scope), a lookup of the name
// finds `model`; none means "ask the session".
struct Scope {
  std::size_t start;
  ImportedModel* model;
};

// The cards in which one definition's model of a given name is visible.
struct Interval {
  std::size_t begin;
  std::size_t end;
  ImportedModel* model;
  const SubcircuitModel* owner;
};

}  // namespace

struct SubcircuitModel::Block {
  std::vector<Card*> cards;
  SubcircuitModel* innermost = nullptr;  // none once the top-level one closed
  std::vector<SubcircuitModel*> definitions;  // in the order they were opened

  // Scope index for FindModel, built on the first lookup after collection.
  bool indexed = false;
  NoCaseMap<std::vector<Scope>> scopes;

  void BuildIndex();
};

// Definitions nest properly, so the card ranges in which the definitions of
// one name are visible nest too. Sweeping them in order of their first card
// gives, for every card position, the innermost definition of that name
// around it: a lookup from a definition is then a binary search on the
// position of its .SUBCKT card, instead of a walk out through every
// enclosing definition.
void SubcircuitModel::Block::BuildIndex() {
  NoCaseMap<std::vector<Interval>> intervals;
  for (const SubcircuitModel* definition : definitions) {
    for (ImportedModel* model : definition->models) {
      if (model->nameToken == nullptr) continue;
      std::vector<Interval>& list = intervals.try_emplace(std::string(model->nameToken->text)).first->second;
      // Of two models of one name in a definition, the first is found.
      if (!list.empty() && list.back().owner == definition) continue;
      list.push_back({definition->begin_, definition->End(), model, definition});
    }
  }

  scopes.clear();
  std::vector<const Interval*> open;
  for (const auto& [name, list] : intervals) {
    std::vector<Scope>& out = scopes[name];
    out.reserve(2 * list.size());
    open.clear();
    auto closeUpTo = [&](std::size_t position) {
      while (!open.empty() && open.back()->end <= position) {
        std::size_t at = open.back()->end;
        open.pop_back();
        out.push_back({at, open.empty() ? nullptr : open.back()->model});
      }
    };
    for (const Interval& interval : list) {
      closeUpTo(interval.begin);
      open.push_back(&interval);
      out.push_back({interval.begin, interval.model});
    }
    closeUpTo(SIZE_MAX);
  }
  indexed = true;
}

SubcircuitModel::SubcircuitModel(const ModelScope* owner, SubcktCard* card)
    : ownBlock_(std::make_unique<Block>()), block_(ownBlock_.get()) {
  origin = Origin::Subcircuit;
  nameToken = card->nameToken;
  session = owner;
  block_->cards.push_back(card);
  block_->innermost = this;
  block_->definitions.push_back(this);
}

SubcircuitModel::SubcircuitModel(SubcircuitModel* parent, Card* card, std::size_t begin)
    : block_(parent->block_), begin_(begin) {
  origin = Origin::Subcircuit;
  nameToken = card->nameToken;
  subcircuit = parent;
  parent_ = parent;
}

// Nested definitions are owned by their parent. They are destroyed from the
// innermost outward, each taken out of its parent's list of children: the
// stack stays flat however deep the nesting goes, and nothing is allocated,
// so this runs safely while an exception for lack of memory unwinds the
// import.
SubcircuitModel::~SubcircuitModel() {
  SubcircuitModel* current = this;
  for (;;) {
    if (!current->children_.empty()) {
      current = current->children_.back().get();
      continue;
    }
    if (current == this) break;
    SubcircuitModel* parent = current->parent_;
    parent->children_.pop_back();  // destroys `current`, which owns nothing any more
    current = parent;
  }
}

std::size_t SubcircuitModel::End() const { return closed_ ? end_ : block_->cards.size(); }

std::span<Card* const> SubcircuitModel::cards() const {
  return std::span<Card* const>(block_->cards).subspan(begin_, End() - begin_);
}

bool SubcircuitModel::AddCard(Card* card) {
  Block& block = *block_;
  SubcircuitModel* target = block.innermost;
  if (closed_ || target == nullptr) return true;

  block.cards.push_back(card);
  block.indexed = false;
  card->subcircuit = target;

  if (card->kind == CardKind::Subckt) {
    std::unique_ptr<SubcircuitModel> child(new SubcircuitModel(target, card, block.cards.size() - 1));
    SubcircuitModel* opened = child.get();
    // Owned first: should a list fail to grow afterwards, the parent still
    // frees it.
    target->children_.push_back(std::move(child));
    target->models.push_back(opened);
    block.definitions.push_back(opened);
    target->openChild = opened;
    block.innermost = opened;
    return false;
  }
  if (card->kind == CardKind::Ends) {
    // The name on the .ENDS card is not compared: it closes the innermost
    // open definition, and only that one.
    target->closed_ = true;
    target->end_ = block.cards.size();
    block.innermost = target->parent_;
    if (target->parent_ != nullptr) target->parent_->openChild = nullptr;
    return target == this;
  }
  if (IsElementKind(card->kind)) return false;
  if (IsModelKind(card->kind)) {
    target->models.push_back(card);
    return false;
  }
  AddDiagnostic(MessageCode::UnexpectedCard, card->FirstSignificantLine());
  return false;
}

ImportedModel* SubcircuitModel::FindModel(std::string_view name) const {
  Block& block = *block_;
  if (!block.indexed) block.BuildIndex();
  auto found = block.scopes.find(name);
  if (found != block.scopes.end()) {
    const std::vector<Scope>& scopes = found->second;
    auto after = std::upper_bound(scopes.begin(), scopes.end(), begin_,
                                  [](std::size_t position, const Scope& scope) { return position < scope.start; });
    if (after != scopes.begin() && std::prev(after)->model != nullptr) return std::prev(after)->model;
  }
  const SubcircuitModel* top = block.definitions.front();
  return top->session != nullptr ? top->session->FindModel(name) : nullptr;
}

std::string SubcircuitModel::ModelText() const {
  std::string text;
  for (const Card* card : cards()) text += card->OutputText();
  return text;
}

}  // namespace zav
