#include "frontend/settings_file.h"

#include <toml++/toml.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

#include "frontend/settings_document.h"

namespace veka {

namespace {

bool takes_text(const Setting* setting) {
  return setting != nullptr &&
         (setting->kind == SettingKind::folder || setting->kind == SettingKind::text ||
          setting->kind == SettingKind::choice);
}

void apply_override(toml::table& document, const std::string& text, SettingsOrigin& origin) {
  const size_t equals = text.find('=');
  const size_t dot = text.find('.');
  if (equals == std::string::npos || dot == std::string::npos || dot > equals) {
    throw SettingsRefused("--set " + text +
                          ": not TABLE.KEY=VALUE (such as --set binning.mode=time)");
  }
  const std::string group = text.substr(0, dot);
  const std::string key = text.substr(dot + 1, equals - dot - 1);
  const std::string value = text.substr(equals + 1);
  const bool is_quoted = !value.empty() && (value[0] == '"' || value[0] == '\'');
  const std::string where = "--set " + text;
  const toml::node* existing = document.get(group);
  if (existing != nullptr && !existing->is_table()) {
    throw SettingsRefused(where + ": " + group + " is a key of the file, not a table");
  }
  toml::table& table = table_in(document, group);
  origin.overrides[group + "." + key] = where;
  if (!is_known_group(group)) origin.overrides[group] = where;
  if (takes_text(find_setting(group, key)) && !is_quoted) {
    table.insert_or_assign(key, value);
    return;
  }
  try {
    toml::table parsed = toml::parse("value = " + value);
    parsed["value"].node()->visit([&](const auto& node) { table.insert_or_assign(key, node); });
  } catch (const toml::parse_error&) {
    table.insert_or_assign(key, value);
  }
}

ArgumentLine read_document(toml::table document, SettingsOrigin origin,
                           const std::vector<std::string>& overrides) {
  for (const std::string& text : overrides) apply_override(document, text, origin);
  return arguments_of(document, origin);
}

toml::table parse_settings(const std::string& text, const std::string& name) {
  try {
    return toml::parse(text, name);
  } catch (const toml::parse_error& error) {
    throw SettingsRefused(name + ":" + std::to_string(line_of(error.source())) +
                          ": not valid TOML: " + std::string(error.description()));
  }
}

}  // namespace

std::string real_argument_text(double value) {
  char text[64];
  auto result = std::to_chars(text, text + sizeof text, value);
  std::string written(text, result.ptr);
  if (written.find_first_of(".en") == std::string::npos) written += ".0";
  return written;
}

ArgumentLine read_settings_text(const std::string& text, const std::string& name,
                                const std::vector<std::string>& overrides) {
  SettingsOrigin origin;
  origin.file = name;
  return read_document(parse_settings(text, name), origin, overrides);
}

ArgumentLine read_settings_file(const std::string& path,
                                const std::vector<std::string>& overrides) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SettingsRefused(path + ": cannot be read (" + std::strerror(errno) + ")");
  std::ostringstream text;
  text << in.rdbuf();
  return read_settings_text(text.str(), path, overrides);
}

}  // namespace veka
