#include "elements/jfet_card.h"

#include <iterator>

namespace zav {
namespace {

// name, required, keyword, type
constexpr ElementField kJfetFields[] = {
    {"ModelName", true, false, ElementFieldType::ModelName},
    {"Area", false, false, ElementFieldType::Number},
};

}  // namespace

const ElementField* JfetCard::FieldTable() const { return kJfetFields; }

std::size_t JfetCard::FieldCount() const { return std::size(kJfetFields); }

}  // namespace zav
