#include "elements/current_controlled_source_card.h"

#include <iterator>

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kCurrentControlledSourceFields[] = {
    {"ModelName", false, false, ElementFieldType::ModelName},
};

}  // namespace

const ElementField* CurrentControlledSourceCard::FieldTable() const { return kCurrentControlledSourceFields; }

std::size_t CurrentControlledSourceCard::FieldCount() const { return std::size(kCurrentControlledSourceFields); }

}  // namespace zav
