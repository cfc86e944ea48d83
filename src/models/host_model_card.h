#pragma once

#include "models/model_card.h"

namespace zav {

// A model card whose type is the host's own name of a type the dialect names
// differently ("R" for "RES", "SW" for "VSWITCH", ...): it is already in the
// host's form. Its parameters are the host's, which no table of the dialect
// describes, so they are neither read nor translated, and its text passes
// through as written, an AKO reference included.
class HostModelCard : public ModelCard {
 public:
  HostModelCard(Card& source, TakeOver)
      : ModelCard(source, TakeOver{}, CardKind::HostModel) {}

  void Link() override {}
};

}  // namespace zav
