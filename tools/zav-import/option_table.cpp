#include "option_table.h"

#include <algorithm>
#include <array>

namespace zav::cli {
namespace {

constexpr std::array<std::string_view, 3> kFormats = {"text", "native", "json"};
constexpr std::array<std::string_view, 3> kLevels = {"error", "warning", "never"};
constexpr std::array<std::string_view, 3> kWhen = {"auto", "always", "never"};
constexpr std::array<std::string_view, 2> kTargets = {"host", "ngspice"};

// One row per option, in the order of the help text.
constexpr std::array<OptionSpec, 19> kOptions = {{
    {"--help", 'h', "", {}},
    {"--version", 0, "", {}},
    {"--output", 'o', "PATH", {}},
    {"--recursive", 'r', "", {}},
    {"--ext", 0, "EXT[,EXT...]", {}},
    {"--list-files", 0, "", {}},
    {"--list", 0, "", {}},
    {"--dump", 0, "", {}},
    {"--check", 0, "", {}},
    {"--target", 0, "SIMULATOR", kTargets},
    {"--summary", 0, "", {}},
    {"--report", 0, "DIR", {}},
    {"--quiet", 'q', "", {}},
    {"--diagnostics", 0, "FORMAT", kFormats},
    {"--fail-on", 0, "LEVEL", kLevels},
    {"--color", 0, "WHEN", kWhen},
    {"--progress", 0, "", {}},
    {"--no-progress", 0, "", {}},
    {"--jobs", 'j', "N", {}},
}};

const OptionSpec* FindShortOption(char name) {
  for (const OptionSpec& option : kOptions) {
    if (option.shortName != 0 && option.shortName == name) return &option;
  }
  return nullptr;
}

std::string Quoted(std::string_view text) { return "'" + std::string(text) + "'"; }

// What may follow "no value given; " or "'x' is not ...".
std::string Allowed(const OptionSpec& option) {
  if (!option.choices.empty()) return "one of: " + JoinChoices(option);
  if (option.longName == "--ext") return "an extension such as fam or .fam (several separated by commas)";
  if (option.longName == "--jobs") return "a number of files to import at once, 1 or more";
  return "a " + std::string(option.valueName);
}

std::optional<std::string> CheckValue(const OptionSpec& option, std::string_view shown, std::string_view value) {
  const std::string name(shown);
  if (!option.choices.empty() &&
      std::find(option.choices.begin(), option.choices.end(), value) == option.choices.end()) {
    return name + ": " + Quoted(value) + " is not " + Allowed(option);
  }
  if (option.longName == "--ext") {
    if (std::optional<std::string> problem = CheckExtensions(value)) return name + ": " + *problem;
  }
  if (option.longName == "--jobs") {
    const bool digits = !value.empty() && value.size() <= 4 &&
                        std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (!digits || std::stoi(std::string(value)) == 0) return name + ": " + Quoted(value) + " is not " + Allowed(option);
  }
  if (option.choices.empty() && value.empty()) return name + ": an empty value was given; it needs " + Allowed(option);
  return std::nullopt;
}

// " (did you mean --diagnostics?)" when one option begins with what was typed.
std::string Suggestion(std::string_view name) {
  const OptionSpec* match = nullptr;
  for (const OptionSpec& option : kOptions) {
    if (name.size() < 3 || option.longName.substr(0, name.size()) != name) continue;
    if (match != nullptr) return std::string();
    match = &option;
  }
  return match != nullptr ? " (did you mean " + std::string(match->longName) + "?)" : std::string();
}

bool LooksLikeOption(std::string_view arg) { return arg.size() > 1 && arg.front() == '-'; }

}  // namespace

std::span<const OptionSpec> OptionSpecs() { return kOptions; }

const OptionSpec* FindOption(std::string_view longName) {
  for (const OptionSpec& option : kOptions) {
    if (option.longName == longName) return &option;
  }
  return nullptr;
}

std::string JoinChoices(const OptionSpec& option) {
  std::string joined;
  for (std::string_view choice : option.choices) {
    if (!joined.empty()) joined += ", ";
    joined += choice;
  }
  return joined;
}

std::optional<std::string> CheckExtensions(std::string_view value) {
  std::size_t at = 0;
  for (;;) {
    const std::size_t comma = std::min(value.find(',', at), value.size());
    std::string_view item = value.substr(at, comma - at);
    const std::string_view written = item;
    if (!item.empty() && item.front() == '.') item.remove_prefix(1);
    const bool bad = item.empty() || std::any_of(item.begin(), item.end(), [](char c) {
      return c == '.' || c == '/' || c == '\\' || c == ' ' || c == '\t' || c == '\0';
    });
    if (bad) return Quoted(written) + " is not an extension such as fam or .fam";
    if (comma == value.size()) return std::nullopt;
    at = comma + 1;
  }
}

std::optional<std::string> FindOptionError(const std::vector<std::string>& args) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--") return std::nullopt;  // the rest are inputs
    if (!LooksLikeOption(arg)) continue;

    if (arg.compare(0, 2, "--") == 0) {
      const std::size_t equals = arg.find('=');
      const std::string name = arg.substr(0, equals);
      const OptionSpec* option = FindOption(name);
      if (option == nullptr) return Quoted(name) + " is not an option" + Suggestion(name);
      if (option->valueName.empty()) {
        if (equals != std::string::npos) return name + ": takes no value, " + Quoted(arg.substr(equals + 1)) + " given";
        continue;
      }
      if (equals != std::string::npos) {
        if (auto problem = CheckValue(*option, name, std::string_view(arg).substr(equals + 1))) return problem;
        continue;
      }
      if (i + 1 == args.size() || LooksLikeOption(args[i + 1])) return name + ": no value given; it needs " + Allowed(*option);
      if (auto problem = CheckValue(*option, name, args[++i])) return problem;
      continue;
    }

    // One or more short options run together: "-rq", "-oPATH".
    for (std::size_t at = 1; at < arg.size(); ++at) {
      const std::string shown = std::string("-") + arg[at];
      const OptionSpec* option = FindShortOption(arg[at]);
      if (option == nullptr) return Quoted(shown) + " is not an option";
      if (option->valueName.empty()) {
        if (at + 1 < arg.size() && arg[at + 1] == '=') {
          return shown + ": takes no value, " + Quoted(std::string_view(arg).substr(at + 2)) + " given";
        }
        continue;
      }
      if (at + 1 < arg.size()) {
        if (auto problem = CheckValue(*option, shown, std::string_view(arg).substr(at + 1))) return problem;
      } else if (i + 1 == args.size() || LooksLikeOption(args[i + 1])) {
        return shown + ": no value given; it needs " + Allowed(*option);
      } else if (auto problem = CheckValue(*option, shown, args[++i])) {
        return problem;
      }
      break;
    }
  }
  return std::nullopt;
}

}  // namespace zav::cli
