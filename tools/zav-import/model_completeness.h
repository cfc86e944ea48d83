// Which model each input line belongs to, and which models lost code to
// comments: read from the session's records (the lines it turned into
// comments) and from the diagnostics that report a parameter commented out.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "diagnostic_format.h"
#include "model_facts.h"

namespace zav {
class ImportedModel;
class DiagnosticBatch;
}  // namespace zav

namespace zav::cli {

// True for the messages that report a model parameter turned into a comment
// (not supported, not recognised, unknown action, nowhere to move it).
bool ReportsParameterCommentedOut(int code);

struct ModelCompleteness {
  int cardsCommented = 0;   // cards of a subcircuit turned into comments
  int paramsCommented = 0;  // parameters of its model cards turned into comments

  bool Partial() const { return cardsCommented > 0 || paramsCommented > 0; }
  // "complete", or "partial (N cards, M parameters commented out)".
  std::string Describe() const;
};

// The models of one import, in model-list order, with the lines each spans:
// from its statement to its last line.
class ModelLineMap {
 public:
  explicit ModelLineMap(const std::vector<const ImportedModel*>& models);

  std::size_t size() const { return models_.size(); }
  const ModelFacts& Facts(std::size_t index) const { return facts_[index]; }

  // The index of the model whose span holds `line`; -1 for none.
  int ModelAt(int line) const;

  // Per model: what the import turned into comments. `diagnostics` are the
  // import's own.
  std::vector<ModelCompleteness> Completeness(const DiagnosticBatch& diagnostics) const;
  std::vector<ModelCompleteness> Completeness(const std::vector<ParsedDiagnostic>& diagnostics) const;

 private:
  template <typename Diagnostics>
  std::vector<ModelCompleteness> CountCompleteness(const Diagnostics& diagnostics) const;

  struct Span {
    int first = 0;
    int last = 0;
  };
  std::vector<const ImportedModel*> models_;
  std::vector<ModelFacts> facts_;
  std::vector<Span> spans_;
};

}  // namespace zav::cli
