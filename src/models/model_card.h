#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "cards/card.h"
#include "models/param_rule.h"

namespace zav {

// A .MODEL statement: name, optional AKO reference, model type and parameter
// pairs. The factory builds one of the nine variants by the model type.
class ModelCard : public Card {
 public:
  // The parse-stage card that classification derives from a generic card:
  // origin ModelCard, kind CardKind::Model, no model type, no AKO tokens.
  ModelCard(const Card& source, DeriveFrom);
  // A variant: a copy of the parse-stage card whose modelType and akoTokens
  // designate the copies of the same tokens.
  ModelCard(const ModelCard& source, DeriveFrom, CardKind kind);

  // Parses the parse-stage card and builds its variant; none (after a
  // diagnostic) when the parse, the model type or the MOSFET level fails.
  static std::unique_ptr<ModelCard> Create(ModelCard& parseStage);

  std::string ModelText() const override { return OutputText(); }
  void Parse() override;  // the .MODEL parse
  void Link() override;   // AKO resolution

  // The variant's translation table; empty for the parse-stage card.
  virtual ParamRuleTable RuleTable() { return {}; }
  std::size_t RuleCount() { return RuleTable().size(); }

  // The first parameter whose name equals `name` without regard to case.
  ParamEntry* FindParam(std::string_view name);

  // The name of the model (its name token's text), empty without one.
  std::string_view ModelName() const;

  // Post-processing steps shared by the variants.
  void TranslateParams();
  void RemoveParam(std::size_t index);
  void MoveToInstances(std::size_t index, const char* target, bool& tcMerged);
  void CopyAkoParams(const ModelCard& referenced);

  Token* modelType = nullptr;       // a token of this card
  std::vector<Token*> akoTokens;    // tokens of this card, not owned
};

}  // namespace zav
