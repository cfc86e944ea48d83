#include "elements/bjt_card.h"

#include <iterator>
#include <string>

#include "text/source_line.h"

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kBjtFields[] = {
    {"ModelName", true, false, ElementFieldType::ModelName},
    {"Area", false, false, ElementFieldType::Number},
};

}  // namespace

void BjtCard::Resolve() {
  // Without a bracket in its text the card has no bracketed node: it need
  // not make its tokens again to find none.
  bool bracket = false;
  for (const SourceLine* line : lines) bracket = bracket || line->text.find('[') != std::string_view::npos;
  if (!bracket) return;
  Materialize();
  if (pins().size() != 4) return;
  std::string_view& text = pins()[3]->text;
  // "[]" holds no node name: stripping it would leave an empty token and the
  // model name would be read as the substrate node, so it stays as written.
  if (text.size() < 3 || text.front() != '[' || text.back() != ']') return;
  text = text.substr(1, text.size() - 2);
  changed = true;
}

const ElementField* BjtCard::FieldTable() const { return kBjtFields; }

std::size_t BjtCard::FieldCount() const { return std::size(kBjtFields); }

}  // namespace zav
