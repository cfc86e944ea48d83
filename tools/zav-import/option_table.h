// The options of zav-import, one row each, and the check of a command line
// against them that turns every mistake into a plain sentence.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace zav::cli {

struct OptionSpec {
  std::string_view longName;  // "--output"
  char shortName = 0;         // 'o', or 0 for none
  // What the value is called in messages and help ("PATH"); empty for a
  // flag, which takes no value.
  std::string_view valueName;
  // The values allowed, in the order the help names them; empty when any
  // value of the kind `valueName` says will do.
  std::span<const std::string_view> choices;
};

// Every option, in the order of the help text.
std::span<const OptionSpec> OptionSpecs();

const OptionSpec* FindOption(std::string_view longName);

// "text, native, json".
std::string JoinChoices(const OptionSpec& option);

// The first mistake on the command line (arguments after the program name),
// said plainly: an unknown option, a missing value, a value given to a flag,
// a value that is not one of the allowed ones, an extension that is none.
// Nothing when the options are well formed.
std::optional<std::string> FindOptionError(const std::vector<std::string>& args);

// The problem with one --ext value ("fam,.phy"), or nothing.
std::optional<std::string> CheckExtensions(std::string_view value);

}  // namespace zav::cli
