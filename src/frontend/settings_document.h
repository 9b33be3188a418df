// The settings as a TOML document on their way between a settings file (or
// a command line) and the 61 arguments: the checks of every key and value,
// and the place of a problem for its one line.
#pragma once

#include <toml++/toml.h>

#include <map>
#include <string>

#include "frontend/settings_file.h"
#include "frontend/settings_table.h"

namespace veka {

// Where the values of a settings document came from, for the messages.
struct SettingsOrigin {
  std::string file;                              // named with the line
  std::map<std::string, std::string> overrides;  // key -> "--set KEY=VALUE"
  bool from_arguments = false;                   // a command line: "argument N (key)"
};

// The 61 argument texts and the export options of a document; the first
// problem (in the order of the file, overrides last) is refused.
ArgumentLine arguments_of(const toml::table& document, const SettingsOrigin& origin);

// The line of a key or value in its file; 0 for one that has none.
int line_of(const toml::source_region& source);

// A value as a settings file writes it.
std::string literal(const toml::node& node);

const toml::table* group_table(const toml::table& document, const std::string& group);
const toml::node* value_of(const toml::table& document, const Setting& setting);
// The table of the group, made when the document has none.
toml::table& table_in(toml::table& document, const std::string& group);
bool is_known_group(const std::string& group);

}  // namespace veka
