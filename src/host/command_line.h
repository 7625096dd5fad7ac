// A small table-driven command-line parser shared by the programs: each option is one row
// naming it, its value (if any), its help line and the function that takes it.
#pragma once

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

template <typename Options>
struct OptionRow {
  const char* name;   // "--level"
  const char* value;  // the value's name in the help ("N"), null for an option without one
  const char* help;
  // Takes the option into options (value is null for an option without one); false, with why
  // set, when the value cannot be used.
  bool (*take)(Options& options, const char* value, std::string& why);
};

// Reads "--name", "--name VALUE" and "--name=VALUE" by the table, in order, into options.
// Returns the empty string, or what is wrong with the command line.
template <typename Options>
std::string ParseCommandLine(int argc, const char* const* argv,
                             std::span<const OptionRow<Options>> rows, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    const size_t equals = word.find('=');
    const std::string_view name = word.substr(0, equals);
    const OptionRow<Options>* row = nullptr;
    for (const auto& candidate : rows)
      if (name == candidate.name) row = &candidate;
    if (!row)
      return (word.starts_with("-") ? "unknown option " : "unexpected argument ") +
             std::string(word);
    std::string inlineValue;
    const char* value = nullptr;
    if (equals != std::string_view::npos) {
      if (!row->value) return std::string(name) + " takes no value";
      inlineValue = word.substr(equals + 1);
      value = inlineValue.c_str();
    } else if (row->value) {
      if (i + 1 >= argc) return std::string(name) + " needs a value " + row->value;
      value = argv[++i];
    }
    std::string why;
    if (!row->take(options, value, why)) return std::string(name) + ": " + why;
  }
  return {};
}

// The help: a usage line, then one line per option with its value and help aligned.
template <typename Options>
std::string OptionHelp(const char* program, std::span<const OptionRow<Options>> rows) {
  constexpr size_t kHelpColumn = 20;
  std::string text = std::string("usage: ") + program + " [OPTION]...\n\noptions:\n";
  for (const auto& row : rows) {
    std::string left =
        std::string("  ") + row.name + (row.value ? std::string(" ") + row.value : "");
    left.resize(std::max(left.size() + 2, kHelpColumn), ' ');
    text += left + row.help + "\n";
  }
  return text;
}
