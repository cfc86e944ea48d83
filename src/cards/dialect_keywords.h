#pragma once

#include <string_view>

namespace zav {

// The words of the input dialect that the translation looks for, all compared
// without regard to letter case. The statement keywords count by their start:
// ".MODEL", ".model" and ".MODULE" are all model cards, ".SUBCKT" and ".SUB"
// open a subcircuit, ".ENDS" and ".ENDSX" close one, while ".END" is none.
inline constexpr std::string_view kModelKeywordPrefix = ".MOD";
inline constexpr std::string_view kSubcktKeywordPrefix = ".SU";
inline constexpr std::string_view kEndsKeywordPrefix = ".ENDS";

// Section markers of .SUBCKT cards and subcircuit instances, compared whole.
inline constexpr std::string_view kOptionalMarker = "OPTIONAL:";
inline constexpr std::string_view kParamsMarker = "PARAMS:";
inline constexpr std::string_view kTextMarker = "TEXT:";

// "AKO:" (a kind of) begins a model card's reference to the model it copies:
// "AKO:NAME" in one word, or "AKO:" followed by the name.
inline constexpr std::string_view kAkoMarker = "AKO:";

}  // namespace zav
