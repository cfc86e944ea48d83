#pragma once

#include <cstdint>
#include <string>


namespace zav {

class Card;
class JoiningAppender;
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
  // The same, through an appender that joins it to the text before it where
  // it continues that text in memory (models as read, one after the other).
  virtual void JoinModelText(JoiningAppender& out) const { (void)out; }

  // The import a top-level model belongs to; none for anything else. Only
  // models keep it (see ModelCard and SubcircuitModel): an import has many
  // more cards than models.
  virtual const ModelScope* Session() const { return nullptr; }
  // Notes an element that names this model. Only a model card keeps the
  // list: its translation may move parameters to its users.
  virtual void AddUser(Card* element) { (void)element; }

  // Where lookups from this item start: the enclosing definition when there
  // is one, else the import.
  const ModelScope* LookupScope() const { return subcircuit != nullptr ? subcircuit : Session(); }

  Token* nameToken = nullptr;
  const ModelScope* subcircuit = nullptr;  // the innermost enclosing definition
  Origin origin = Origin::PlainCard;
};

}  // namespace zav
