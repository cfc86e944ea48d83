#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cards/compact_list.h"
#include "cards/imported_model.h"
#include "cards/model_scope.h"
#include "platform/no_case_index.h"

namespace zav {

class Card;
class CardStore;
class SubcktCard;

// One .SUBCKT ... .ENDS block as a model: the host receives the output texts
// of its cards in input order. Model cards and nested definitions inside it
// are local models, found from inside before anything further out.
//
// A top-level definition and the definitions nested in it share one record
// of the whole block: the cards in input order (each nested definition is a
// range of it) and the innermost open definition. So offering a card costs
// O(1) whatever the nesting depth, and no card is copied into the list of
// every enclosing definition.
class SubcircuitModel : public ImportedModel, public ModelScope {
 public:
  // A top-level definition, registered in `session`'s model list. Its cards
  // go into `blockCards` when given (the session's list of the cards of all
  // its top-level definitions, one after the other), else into a list of its
  // own.
  SubcircuitModel(const ModelScope* session, SubcktCard* card, std::vector<Card*>* blockCards = nullptr);
  // The same, made in the store of `card` when it has one, as the nested
  // definitions then are too: a definition of an import lives as long as
  // its cards.
  static std::unique_ptr<SubcircuitModel> Make(const ModelScope* session, SubcktCard* card,
                                               std::vector<Card*>* blockCards);
  // Also destroys the nested definitions, without recursion.
  ~SubcircuitModel() override;
  // A definition made in a store is destroyed there, its memory going with
  // the store.
  static void operator delete(SubcircuitModel* model, std::destroying_delete_t);

  // Offers the next card of the block (the session offers every card after
  // the .SUBCKT card of a top-level definition, in order). The card goes to
  // the innermost open definition: a .SUBCKT card opens a nested one, an
  // .ENDS card closes the innermost one whatever its name. True when the card
  // closed this definition. A closed definition takes no more cards.
  bool AddCard(Card* card);

  // The first model named `name` (case ignored) visible from this definition:
  // its own models, then each enclosing definition's, then the session's.
  // Meant for after collection; the first lookup after the last AddCard
  // indexes the whole block once, every lookup then costs O(log n).
  ImportedModel* FindModel(std::string_view name) const override;

  // The output texts of the cards of the block, concatenated.
  std::string ModelText() const override;
  void AppendModelText(std::string& out) const override;
  void JoinModelText(JoiningAppender& out) const override;

  // The cards of the block, not owned: the .SUBCKT card, every card of the
  // block in input order (those of nested definitions included) and the
  // closing .ENDS card; up to the last card offered while still open.
  std::span<Card* const> cards() const;

  const ModelScope* Session() const override { return session; }

  // The import, for a top-level definition; none for a nested one.
  const ModelScope* session = nullptr;
  // The nested definition that is open now, or none.
  SubcircuitModel* openChild = nullptr;
  // The model cards of the block and the nested definitions, in input order;
  // not owned (the session owns the cards, this definition its children).
  // Its blocks come from the import's store when the .SUBCKT card has one.
  CompactList<ImportedModel*> models;

 private:
  // From card position `start` on (up to the next scope), a lookup of the
  // name finds `model`; none means "ask the session".
  struct Scope {
    std::size_t start;
    ImportedModel* model;
  };

  // What a top-level definition and the definitions nested in it share.
  struct Block {
    // The cards of the block are `cards` from `first` on: a list of the
    // block's own, or the session's list that holds every top-level block,
    // one after the other (a block's cards are offered before the next
    // block's).
    std::vector<Card*> ownCards;
    std::vector<Card*>* cards = &ownCards;
    std::size_t first = 0;
    SubcircuitModel* innermost = nullptr;  // none once the top-level one closed
    SubcircuitModel* top = nullptr;
    // The definitions nested in the top-level one, in the order they were
    // opened (most blocks have none).
    std::vector<SubcircuitModel*> nested;
    std::size_t modelCount = 0;  // in all its definitions

    std::size_t size() const { return cards->size() - first; }

    // Scope index for FindModel, for a block with more models than a walk
    // takes: built on the first lookup after collection. Per name (its
    // number in `names`), a run of `scopes`.
    struct Index {
      NoCaseIndex<std::uint32_t> names;
      std::vector<Scope> scopes;
      std::vector<std::uint32_t> runStart;  // per name, then one past the last
    };
    std::unique_ptr<Index> index;

    void BuildIndex();
  };

  // A definition nested in `parent`, opened by the card at `begin` of the
  // block's card list.
  SubcircuitModel(SubcircuitModel* parent, Card* card, std::size_t begin);

  std::size_t End() const;
  // Opens a definition nested in `target` with the .SUBCKT card `card`, the
  // last card of the block. Out of AddCard, whose every other card needs
  // none of what this takes.
  [[gnu::noinline]] void OpenNested(SubcircuitModel* target, Card* card);

  // A definition made in `store` (none: on the heap).
  template <typename... Args>
  static std::unique_ptr<SubcircuitModel> NewIn(CardStore* store, Args&&... args);

  SubcircuitModel* parent_ = nullptr;  // the enclosing definition, none at top level
  std::vector<std::unique_ptr<SubcircuitModel>> children_;  // the nested definitions
  // A top-level definition's block, held here rather than in a heap block of
  // its own; a nested definition's is unused.
  Block ownBlock_;
  Block* block_ = nullptr;
  std::size_t begin_ = 0;  // position of the .SUBCKT card in the block
  std::size_t end_ = 0;    // one past the .ENDS card; meaningful once closed
  bool closed_ = false;
  bool inStore_ = false;
};

}  // namespace zav
