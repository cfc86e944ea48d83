#include "model_completeness.h"

#include <algorithm>
#include <array>

#include "cards/card.h"
#include "diagnostics/diagnostic.h"
#include "diagnostics/diagnostic_batch.h"
#include "model_facts.h"
#include "text/source_line.h"
#include "subcircuits/subcircuit_model.h"

namespace zav::cli {
namespace {

constexpr std::array<int, 4> kParameterCommentedCodes = {23, 24, 25, 26};

std::pair<int, int> CodeAndLine(const Diagnostic& diagnostic) {
  return {static_cast<int>(diagnostic.code), diagnostic.lineNumber};
}
std::pair<int, int> CodeAndLine(const ParsedDiagnostic& diagnostic) { return {diagnostic.code, diagnostic.line}; }

std::string Counted(int count, const char* noun) {
  return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

// The cards whose lines make up the model's text.
std::vector<const Card*> CardsOf(const ImportedModel& model) {
  if (model.origin == ImportedModel::Origin::Subcircuit) {
    const auto cards = static_cast<const SubcircuitModel&>(model).cards();
    return std::vector<const Card*>(cards.begin(), cards.end());
  }
  if (model.origin == ImportedModel::Origin::ModelCard) return {static_cast<const Card*>(&model)};
  return {};
}

}  // namespace

bool ReportsParameterCommentedOut(int code) {
  return std::find(kParameterCommentedCodes.begin(), kParameterCommentedCodes.end(), code) !=
         kParameterCommentedCodes.end();
}

std::string ModelCompleteness::Describe() const {
  if (!Partial()) return "complete";
  return "partial (" + Counted(cardsCommented, "card") + ", " + Counted(paramsCommented, "parameter") +
         " commented out)";
}

ModelLineMap::ModelLineMap(const std::vector<const ImportedModel*>& models) : models_(models) {
  spans_.reserve(models.size());
  facts_.reserve(models.size());
  for (const ImportedModel* model : models) {
    facts_.push_back(DescribeModel(*model));
    Span span;
    span.first = facts_.back().line;
    span.last = span.first;
    for (const Card* card : CardsOf(*model)) {
      for (const SourceLine* line : card->lines) span.last = std::max(span.last, line->number);
    }
    spans_.push_back(span);
  }
}

int ModelLineMap::ModelAt(int line) const {
  // The spans follow the file in model-list order and do not overlap.
  const auto after = std::upper_bound(spans_.begin(), spans_.end(), line,
                                      [](int value, const Span& span) { return value < span.first; });
  if (after == spans_.begin()) return -1;
  const auto span = std::prev(after);
  return line <= span->last ? static_cast<int>(span - spans_.begin()) : -1;
}

template <typename Diagnostics>
std::vector<ModelCompleteness> ModelLineMap::CountCompleteness(const Diagnostics& diagnostics) const {
  std::vector<ModelCompleteness> result(models_.size());
  for (std::size_t i = 0; i < models_.size(); ++i) {
    if (models_[i]->origin != ImportedModel::Origin::Subcircuit) continue;
    // Cards merged into the .SUBCKT card from before it were never part of
    // the definition; only what follows its statement counts.
    for (const Card* card : CardsOf(*models_[i])) {
      for (const SourceLine* line : card->lines) {
        if (line->number > spans_[i].first && IsConvertedStatementLine(*line)) ++result[i].cardsCommented;
      }
    }
  }
  for (const auto& diagnostic : diagnostics) {
    const auto [code, line] = CodeAndLine(diagnostic);
    if (!ReportsParameterCommentedOut(code)) continue;
    if (const int model = ModelAt(line); model >= 0) ++result[static_cast<std::size_t>(model)].paramsCommented;
  }
  return result;
}

std::vector<ModelCompleteness> ModelLineMap::Completeness(const DiagnosticBatch& diagnostics) const {
  return CountCompleteness(diagnostics);
}

std::vector<ModelCompleteness> ModelLineMap::Completeness(const std::vector<ParsedDiagnostic>& diagnostics) const {
  return CountCompleteness(diagnostics);
}

}  // namespace zav::cli
