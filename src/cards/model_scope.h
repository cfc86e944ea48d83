#pragma once

#include <string_view>

namespace zav {

class ImportedModel;

// Where a model named by an element or by an AKO reference is looked up: a
// subcircuit definition (its own models, then each enclosing definition's,
// then the import's) or the import as a whole. Declared here, below the cards
// that ask, and implemented by the subcircuit models and the session above
// them, so that a lookup can climb without the cards knowing either.
class ModelScope {
 public:
  // The first model named `name` (letter case ignored) visible from here, or
  // none.
  virtual ImportedModel* FindModel(std::string_view name) const = 0;

 protected:
  ModelScope() = default;
  ModelScope(const ModelScope&) = default;
  ModelScope& operator=(const ModelScope&) = default;
  ~ModelScope() = default;
};

}  // namespace zav
