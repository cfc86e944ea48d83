#include "diagnostics/message_catalogue.h"

#include <array>

namespace zav {
namespace {

using S = Severity;

// Indexed by message code. The formats use %s only.
constexpr std::array<MessageRow, kMessageCount> kCatalogue = {{
    /*  0 */ {S::FileError, "Unexpected End-of-File"},
    /*  1 */ {S::FileError, "Can't open file: %s for reading"},
    /*  2 */ {S::FileError, "Can't read input file: %s"},
    /*  3 */ {S::FileError, "Can't close file: %s"},
    /*  4 */ {S::FileError, "Cannot find any valid models in the file."},
    /*  5 */ {S::Error, "Unexpected end-of-card. Could not get the first token."},
    /*  6 */ {S::Error, "Unexpected token in card \"%s\""},
    /*  7 */ {S::Error, "This line is unexpected in this context"},
    /*  8 */ {S::Error, "Unknown card type. It will be converted to a comment"},
    /*  9 */ {S::Error, "Unknown control card. It will be converted to a comment"},
    /* 10 */ {S::Error, "Unknown element card. It will be converted to a comment"},
    /* 11 */ {S::Error, "Unknown model card. It will be converted to a comment"},
    /* 12 */ {S::Error, "Invalid %s string or character. Could not determine the type of this token."},
    /* 13 */ {S::Error, "This element is not in a subcircuit. This card will be turned into a comment"},
    /* 14 */ {S::Error, "can't find subcircuit %s .ends card"},
    /* 15 */ {S::Error, "This card is unexpected in this context."},
    /* 16 */ {S::Error, "Should not ever get this. .MODEL Card does not have .MODEL keyword"},
    /* 17 */ {S::Error, "Model card does not have a name. This card will be turned into a comment"},
    /* 18 */ {S::Error, "Model card does not have a model type identifier"},
    /* 19 */ {S::Error, "This MOSFET Model has a level \"%s\" that cannot be translated.\nThe card will be turned into a comment"},
    /* 20 */ {S::Error, "\"%s\" is an invalid %s name"},
    /* 21 */ {S::Error, "Value for %s is missing"},
    /* 22 */ {S::Error, "\"%s\" is not a numeric value. This card will be converted to a comment"},
    /* 23 */ {S::Warning, "\"%s\" is not a supported model parameter. It will be converted to a comment"},
    /* 24 */ {S::Error, "\"%s\" is not a recognized model parameter. It will be converted to a comment"},
    /* 25 */ {S::Error, "Unknown action for the \"%s\" parameter. It will be converted to a comment"},
    /* 26 */ {S::Warning, "There are no elements that reference the \"%s\" model,\n so the \"%s\" parameter cannot be moved. It will be converted to a comment"},
    /* 27 */ {S::Info, "The \"%s\" parameter is being added to the device \"%s\" as \"%s\""},
    /* 28 */ {S::Error, "The MOSFET model \"%s\" is in a subcircuit,\nand has L and/or W specified, but is not referenced.\nThe parameters cannot be updated to an instance"},
    /* 29 */ {S::Error, "Element card does not have a name. This card will be turned into a comment"},
    /* 30 */ {S::Error, "This element card does not have enough pins. It will be turned into a comment"},
    /* 31 */ {S::Error, "This element card has the invalid pin name \"%s\". It will be turned into a comment"},
    /* 32 */ {S::Error, "This element card requires a model name, and does not have one. It will be turned into a comment"},
    /* 33 */ {S::Error, "This element card does not have enough tokens, so is presumed invalid. It will be turned into a comment"},
    /* 34 */ {S::Error, "This element card uses a form that is not supported. It will be turned into a comment"},
    /* 35 */ {S::Error, "Cannot find \"%s\" reference model for \"%s\""},
    /* 36 */ {S::Error, "The model type of the %s model and the AKO model %s must be the same"},
    /* 37 */ {S::Warning, "The model contains an encrypted block that is passed through unchanged"},
    /* 38 */ {S::Info, "The file ends at an end-of-file mark; %s bytes after it were not read"},
    /* 39 */ {S::Info, "The model type \"%s\" is already in the host's form. The model \"%s\" is taken as already translated"},
    /* 40 */ {S::Warning, "The file contains NUL bytes, the first on this line. Each was replaced by a space"},
    /* 41 */ {S::FileError, "Not enough memory to import file: %s (%s bytes)"},
    /* 42 */ {S::Info, "The expression is rewritten in ngspice's spelling: %s"},
    /* 43 */ {S::Warning, "The function \"%s\" has no equivalent in ngspice. The expression is kept as written"},
    /* 44 */ {S::Info, "The commas between the parameter assignments were removed; ngspice does not read them"},
    /* 45 */ {S::Info, "\"%s\" is written \"%s\" for ngspice"},
    /* 46 */ {S::Info, "The model type \"%s\" is written \"%s\" for ngspice"},
    /* 47 */ {S::Info, "The MOSFET level %s is written as ngspice's %s"},
    /* 48 */ {S::Info, "\"%s\" and \"%s\" are written as ngspice's threshold and hysteresis: %s"},
    /* 49 */ {S::Info, "\"%s\" is written with the value %s that the model takes by default; ngspice's default differs"},
    /* 50 */ {S::Info, "The switch turns on below \"%s\" and off above \"%s\": its on and off resistances are swapped for ngspice"},
    /* 51 */ {S::Info, "The model type \"%s\" is already in ngspice's form. The model \"%s\" is taken as already translated"},
}};

}  // namespace

const MessageRow* FindMessage(MessageCode code) { return FindMessage(static_cast<int>(code)); }

const MessageRow* FindMessage(int code) {
  if (code < 0 || static_cast<std::size_t>(code) >= kCatalogue.size()) return nullptr;
  return &kCatalogue[static_cast<std::size_t>(code)];
}

}  // namespace zav
