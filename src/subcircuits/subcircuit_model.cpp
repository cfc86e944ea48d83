#include "subcircuits/subcircuit_model.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <unordered_map>
#include <utility>

#include "cards/card.h"
#include "diagnostics/add_diagnostic.h"
#include "platform/no_case_index.h"
#include "subcircuits/subckt_card.h"
#include "text/joining_appender.h"

namespace zav {
namespace {

// The cards in which one definition's model of a given name is visible.
struct Interval {
  std::size_t begin;
  std::size_t end;
  ImportedModel* model;
  const SubcircuitModel* owner;
};


// A definition with this few models in its whole block is looked up by
// walking out through the enclosing definitions: cheaper than an index, and
// short, since the walk visits at most this many models.
constexpr std::size_t kModelsWalked = 24;

}  // namespace

// Definitions nest properly, so the card ranges in which the definitions of
// one name are visible nest too. Sweeping them in order of their first card
// gives, for every card position, the innermost definition of that name
// around it: a lookup from a definition is then a binary search on the
// position of its .SUBCKT card, instead of a walk out through every
// enclosing definition.
void SubcircuitModel::Block::BuildIndex() {
  index = std::make_unique<Index>();
  NoCaseIndex<std::uint32_t>& names = index->names;
  std::vector<Scope>& scopes = index->scopes;
  std::vector<std::uint32_t>& runStart = index->runStart;
  // The intervals, numbered by name, kept in the order of the definitions
  // (the order they were opened, which is the order of their first cards).
  std::vector<Interval> intervals;
  std::vector<std::uint32_t> nameOf;
  std::vector<const SubcircuitModel*> lastOwner;  // per name
  for (std::size_t d = 0; d <= nested.size(); ++d) {
    const SubcircuitModel* definition = d == 0 ? top : nested[d - 1];
    for (ImportedModel* model : definition->models) {
      if (model->nameToken == nullptr) continue;
      const std::string_view name = model->nameToken->text;
      const std::uint32_t id = names.Add(name, static_cast<std::uint32_t>(names.size()));
      if (id == lastOwner.size()) lastOwner.push_back(nullptr);
      // Of two models of one name in a definition, the first is found.
      if (lastOwner[id] == definition) continue;
      lastOwner[id] = definition;
      intervals.push_back({definition->begin_, definition->End(), model, definition});
      nameOf.push_back(id);
    }
  }
  // Grouped by name, each group in definition order.
  std::vector<std::uint32_t> groupStart(names.size() + 1, 0);
  for (std::uint32_t id : nameOf) ++groupStart[id + 1];
  for (std::size_t i = 1; i < groupStart.size(); ++i) groupStart[i] += groupStart[i - 1];
  std::vector<const Interval*> grouped(intervals.size());
  {
    std::vector<std::uint32_t> fill(groupStart.begin(), groupStart.end() - 1);
    for (std::size_t i = 0; i < intervals.size(); ++i) grouped[fill[nameOf[i]]++] = &intervals[i];
  }

  scopes.clear();
  scopes.reserve(2 * intervals.size());
  runStart.assign(names.size() + 1, 0);
  std::vector<const Interval*> open;
  for (std::size_t id = 0; id < names.size(); ++id) {
    runStart[id] = static_cast<std::uint32_t>(scopes.size());
    open.clear();
    auto closeUpTo = [&](std::size_t position) {
      while (!open.empty() && open.back()->end <= position) {
        std::size_t at = open.back()->end;
        open.pop_back();
        scopes.push_back({at, open.empty() ? nullptr : open.back()->model});
      }
    };
    for (std::uint32_t g = groupStart[id]; g < groupStart[id + 1]; ++g) {
      const Interval& interval = *grouped[g];
      closeUpTo(interval.begin);
      open.push_back(&interval);
      scopes.push_back({interval.begin, interval.model});
    }
    closeUpTo(SIZE_MAX);
  }
  runStart[names.size()] = static_cast<std::uint32_t>(scopes.size());
}

SubcircuitModel::SubcircuitModel(const ModelScope* owner, SubcktCard* card, std::vector<Card*>* blockCards)
    : block_(&ownBlock_) {
  origin = Origin::Subcircuit;
  nameToken = card->nameToken;
  session = owner;
  if (blockCards != nullptr) {
    block_->cards = blockCards;
    block_->first = blockCards->size();
  }
  block_->cards->push_back(card);
  block_->innermost = this;
  block_->top = this;
}

template <typename... Args>
std::unique_ptr<SubcircuitModel> SubcircuitModel::NewIn(CardStore* store, Args&&... args) {
  if (store == nullptr) return std::unique_ptr<SubcircuitModel>(new SubcircuitModel(std::forward<Args>(args)...));
  void* memory = store->Allocate(sizeof(SubcircuitModel), alignof(SubcircuitModel));
  std::unique_ptr<SubcircuitModel> made(new (memory) SubcircuitModel(std::forward<Args>(args)...));
  made->inStore_ = true;
  return made;
}

std::unique_ptr<SubcircuitModel> SubcircuitModel::Make(const ModelScope* session, SubcktCard* card,
                                                       std::vector<Card*>* blockCards) {
  return NewIn(card->store, session, card, blockCards);
}

void SubcircuitModel::operator delete(SubcircuitModel* model, std::destroying_delete_t) {
  const bool inStore = model->inStore_;
  model->~SubcircuitModel();
  if (!inStore) ::operator delete(model);
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

std::size_t SubcircuitModel::End() const { return closed_ ? end_ : block_->size(); }

std::span<Card* const> SubcircuitModel::cards() const {
  return std::span<Card* const>(*block_->cards).subspan(block_->first + begin_, End() - begin_);
}

void SubcircuitModel::OpenNested(SubcircuitModel* target, Card* card) {
  Block& block = *block_;
  std::unique_ptr<SubcircuitModel> child = NewIn(card->store, target, card, block.size() - 1);
  SubcircuitModel* opened = child.get();
  // Owned first: should a list fail to grow afterwards, the parent still
  // frees it.
  target->children_.push_back(std::move(child));
  target->models.push_back(opened, card->store);
  block.nested.push_back(opened);
  target->openChild = opened;
  block.innermost = opened;
  ++block.modelCount;
}

bool SubcircuitModel::AddCard(Card* card) {
  Block& block = *block_;
  SubcircuitModel* target = block.innermost;
  if (closed_ || target == nullptr) return true;

  block.cards->push_back(card);
  block.index.reset();
  card->subcircuit = target;

  if (card->kind == CardKind::Subckt) {
    OpenNested(target, card);
    return false;
  }
  if (card->kind == CardKind::Ends) {
    // The name on the .ENDS card is not compared: it closes the innermost
    // open definition, and only that one.
    target->closed_ = true;
    target->end_ = block.size();
    block.innermost = target->parent_;
    if (target->parent_ != nullptr) target->parent_->openChild = nullptr;
    return target == this;
  }
  if (IsElementKind(card->kind)) return false;
  if (IsModelKind(card->kind)) {
    target->models.push_back(card, card->store);
    ++block.modelCount;
    return false;
  }
  AddDiagnostic(MessageCode::UnexpectedCard, card->FirstSignificantLine());
  return false;
}

ImportedModel* SubcircuitModel::FindModel(std::string_view name) const {
  Block& block = *block_;
  if (block.modelCount <= kModelsWalked) {
    // The definitions around this one are this one and its ancestors: the
    // first of them, from the inside, with a model of the name has it.
    for (const SubcircuitModel* definition = this; definition != nullptr; definition = definition->parent_) {
      for (ImportedModel* model : definition->models) {
        if (model->nameToken != nullptr && EqualsNoCase(model->nameToken->text, name)) return model;
      }
    }
    const SubcircuitModel* top = block.top;
    return top->session != nullptr ? top->session->FindModel(name) : nullptr;
  }
  if (block.index == nullptr) block.BuildIndex();
  const Block::Index& index = *block.index;
  if (const std::uint32_t* id = index.names.Find(name)) {
    const auto first = index.scopes.begin() + index.runStart[*id];
    const auto last = index.scopes.begin() + index.runStart[*id + 1];
    auto after = std::upper_bound(first, last, begin_,
                                  [](std::size_t position, const Scope& scope) { return position < scope.start; });
    if (after != first && std::prev(after)->model != nullptr) return std::prev(after)->model;
  }
  const SubcircuitModel* top = block.top;
  return top->session != nullptr ? top->session->FindModel(name) : nullptr;
}

std::string SubcircuitModel::ModelText() const {
  // One buffer of the right size, each card's text written into it.
  std::size_t size = 0;
  for (const Card* card : cards()) size += card->OutputSize();
  std::string text;
  text.reserve(size);
  AppendModelText(text);
  return text;
}

void SubcircuitModel::AppendModelText(std::string& out) const {
  JoiningAppender appender(out);
  JoinModelText(appender);
}

void SubcircuitModel::JoinModelText(JoiningAppender& out) const {
  // Written into a buffer that many texts share, which has grown to room
  // for them: no pass over the cards to size it. Cards that stay as read
  // follow each other in the file's buffer, and go out in one stretch.
  for (const Card* card : cards()) card->AppendOutputText(out);
}

}  // namespace zav
