#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cards/imported_model.h"

namespace zav {

class Card;
class SubcktCard;

// One .SUBCKT ... .ENDS block as a model: the host receives the output texts
// of its cards in input order. Model cards and nested definitions inside it
// are local models, found from inside before anything further out.
class SubcircuitModel : public ImportedModel {
 public:
  // A top-level definition, registered in `session`'s model list.
  SubcircuitModel(ImportSession* session, SubcktCard* card);
  // A nested definition inside `parent`.
  SubcircuitModel(SubcircuitModel* parent, Card* card);
  ~SubcircuitModel() override;

  // Offers the next card of the block; true when the card closed this
  // definition.
  bool AddCard(Card* card);

  // The first model named `name` (case ignored) visible from this definition:
  // its own models, then each enclosing definition's, then the session's.
  ImportedModel* FindModel(std::string_view name) const;

  std::string ModelText() const override;

  SubcircuitModel* openChild = nullptr;
  std::vector<Card*> cards;             // not owned
  std::vector<ImportedModel*> models;   // owns the entries of origin Subcircuit
};

}  // namespace zav
