#pragma once

#include <string_view>

namespace zav {

// Answers an info call about a text (length or text) for a handle that has
// already been checked, following the size rules of the info protocol.
// Returns the call's result and sets *status on failure.
int AnswerInfo(std::string_view text, int infoType, void* buffer, unsigned* size, int* status);

}  // namespace zav
