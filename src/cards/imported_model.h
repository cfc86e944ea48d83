#pragma once

#include <cstdint>
#include <string>

#include "cards/compact_list.h"

namespace zav {

class Card;
class ModelScope;
struct Token;

// Anything the host can receive as a model: a model card or a subcircuit
// model (and, as the base of every card, the plain cards too). Its address is
// the host's model handle.
class ImportedModel {
 public:
  enum class Origin : uint8_t {
    PlainCard = 0,   // every card that is not a model card
    Subcircuit = 1,  // a SubcircuitModel; lists of models own exactly these
    ModelCard = 2,
  };

  ImportedModel() = default;
  ImportedModel(const ImportedModel&) = delete;
  ImportedModel& operator=(const ImportedModel&) = delete;
  virtual ~ImportedModel() = default;

  // The translated text of the model, built afresh on every call. Plain cards
  // are not models and give an empty text.
  virtual std::string ModelText() const { return std::string(); }
  // The same text, appended to `out`: a caller writing many models reuses
  // one buffer.
  virtual void AppendModelText(std::string& out) const { (void)out; }

  // Where lookups from this item start: the enclosing definition when there
  // is one, else the import.
  const ModelScope* LookupScope() const { return subcircuit != nullptr ? subcircuit : session; }

  Token* nameToken = nullptr;
  const ModelScope* subcircuit = nullptr;  // the innermost enclosing definition
  const ModelScope* session = nullptr;     // the import; set for top-level models
  CompactList<Card*> referencedBy;         // the elements that name this model; not owned
  Origin origin = Origin::PlainCard;
};

}  // namespace zav
