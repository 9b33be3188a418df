// The 61 positional arguments by purpose: one row per settings key, with the
// positions it fills, what it may hold, the sample run's value and what it
// means. The settings reader, both converters, the help text and the README
// reference are all made from this table.
#pragma once

#include <string>
#include <vector>

#include "export/options.h"

namespace veka {

constexpr int kArgumentCount = 61;

enum class SettingKind {
  folder,      // text ending in "/"
  text,        // text of 1 to max_length characters
  integer,     // whole number within the range, or one of integer_values
  real,        // number within the range
  choice,      // one of the named choices
  bounds,      // [low, high]: two numbers within the range, low <= high
  ctd_fields,  // up to 11 field letters
  unused,      // an argument the program does not read; always "0"
};

struct NumberRange {
  double low;
  double high;
  bool above_low;  // the low end itself is not allowed
};

struct SettingChoice {
  std::string name;      // in the settings file
  std::string argument;  // the argument's text
  std::string meaning;
  std::vector<std::string> aliases = {};  // further argument texts of the same choice
};

struct Setting {
  std::string group;  // TOML table
  std::string key;
  SettingKind kind;
  int position;        // the first argument it fills
  std::string sample;  // the argument text(s) of the sample run, blank-separated
  bool required;       // otherwise the sample's value is the default
  std::string units;
  std::string meaning;
  NumberRange range = {-1e300, 1e300, false};
  std::vector<SettingChoice> choices = {};
  std::vector<int> integer_values = {};  // when not empty, the only allowed values
  int max_length = 0;                    // text: 0 for no limit

  std::string name() const { return group + "." + key; }
  // How many arguments it fills.
  int width() const;
  // The argument numbers it fills: "4", "28, 29", "12..22".
  std::string positions() const;
  // The default as argument texts; empty for a required key.
  std::vector<std::string> default_arguments() const;
  // What the key may hold, for messages and help.
  std::string allowed() const;
  // The meaning followed by those of the choices, each choice's name set
  // apart by `mark` (quotes, backticks), with its argument text.
  std::string meaning_with_choices(std::string (*mark)(const std::string&)) const;
};

struct SettingGroup {
  std::string name;   // TOML table
  std::string title;  // as the README heads it
  std::string intro;  // a note for the whole group; may be empty
};

const std::vector<SettingGroup>& setting_groups();
// Every argument 1..61 belongs to exactly one row, in the groups' order.
const std::vector<Setting>& settings_table();
// The row that fills `position`.
const Setting& setting_at(int position);
const Setting* find_setting(const std::string& group, const std::string& key);

// The export options that a run may ask for, as keys of the [export] table
// and as command-line flags.
using ExportKey = ExportFlag;
inline const std::vector<ExportKey>& export_keys() {
  return export_flags();
}
// The export key of an option such as "--bin"; none for another word.
const ExportKey* export_key_for(const std::string& option);
constexpr const char* kExportGroup = "export";

// The text of a CTD field position whose value is not used.
constexpr const char* kUnusedField = "x";

}  // namespace veka
