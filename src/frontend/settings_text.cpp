// The commented settings file of a command line, and the command line of a
// settings file.
#include <algorithm>

#include "common/numbers.h"
#include "frontend/settings_document.h"
#include "frontend/settings_file.h"
#include "frontend/text_layout.h"

namespace veka {

namespace {

[[noreturn]] void refuse_argument(const Setting& setting, const std::string& what,
                                  const std::string& allowed) {
  throw SettingsRefused("argument " + setting.positions() + " (" + setting.name() + "): " + what +
                        " (allowed: " + allowed + ")");
}

// Calls put with the integer or the real that the text reads as.
template <typename Put>
void put_number(const Setting& setting, const std::string& text, Put put) {
  if (auto whole = parse_integer(text)) {
    put(int64_t{*whole});
  } else if (auto real = parse_real(text)) {
    put(*real);
  } else {
    refuse_argument(setting, "\"" + text + "\" is not a number", setting.allowed());
  }
}

std::string choice_of(const Setting& setting, const std::string& text) {
  std::string listed;
  for (const SettingChoice& choice : setting.choices) {
    const auto& aliases = choice.aliases;
    if (choice.argument == text ||
        std::find(aliases.begin(), aliases.end(), text) != aliases.end()) {
      return choice.name;
    }
    listed += (listed.empty() ? "" : ", ") + choice.argument + " (" + choice.name + ")";
  }
  refuse_argument(setting, "\"" + text + "\" is not allowed", listed);
}

void put_setting(toml::table& table, const Setting& setting,
                 const std::vector<std::string>& texts) {
  switch (setting.kind) {
    case SettingKind::integer:
    case SettingKind::real:
      put_number(setting, texts[0],
                 [&](auto value) { table.insert_or_assign(setting.key, value); });
      break;
    case SettingKind::choice:
      table.insert_or_assign(setting.key, choice_of(setting, texts[0]));
      break;
    case SettingKind::bounds: {
      toml::array pair;
      for (const std::string& text : texts) {
        put_number(setting, text, [&](auto value) { pair.push_back(value); });
      }
      table.insert_or_assign(setting.key, std::move(pair));
      break;
    }
    case SettingKind::ctd_fields: {
      size_t used = texts.size();
      while (used > 0 && texts[used - 1] == kUnusedField) --used;
      toml::array fields;
      for (size_t i = 0; i < used; ++i) fields.push_back(texts[i]);
      table.insert_or_assign(setting.key, std::move(fields));
      break;
    }
    default:
      table.insert_or_assign(setting.key, texts[0]);
  }
}

toml::table document_of(const ArgumentLine& line) {
  toml::table document;
  for (const Setting& setting : settings_table()) {
    if (setting.kind == SettingKind::unused) continue;
    const auto first = line.arguments.begin() + (setting.position - 1);
    put_setting(table_in(document, setting.group), setting,
                std::vector<std::string>(first, first + setting.width()));
  }
  for (const std::string& option : line.options) {
    const auto& keys = export_keys();
    auto known = std::find_if(keys.begin(), keys.end(),
                              [&](const ExportKey& key) { return key.option == option; });
    if (known == keys.end()) {
      std::string listed;
      for (const ExportKey& key : keys) listed += (listed.empty() ? "" : ", ") + key.option;
      throw SettingsRefused("option " + option + ": unknown (allowed: " + listed + ")");
    }
    table_in(document, kExportGroup).insert_or_assign(known->key, true);
  }
  return document;
}

// ---- The settings file's text ----

std::string key_comment(const Setting& setting) {
  std::string text = setting.meaning_with_choices(quoted) + ". Allowed: " + setting.allowed();
  text += setting.required ? "; required." : "; default " + default_literal(setting) + ".";
  return comment_lines(text);
}

}  // namespace

std::string default_literal(const Setting& setting) {
  toml::table table;
  put_setting(table, setting, setting.default_arguments());
  return literal(*table.get(setting.key));
}

std::string settings_file_text(const ArgumentLine& line) {
  const toml::table document = document_of(line);
  SettingsOrigin origin;
  origin.from_arguments = true;
  arguments_of(document, origin);
  std::string text = comment_lines(
      "Settings of a vekaproc run: `vekaproc run THIS_FILE` processes the data files it names. "
      "A key left out takes its default; `vekaproc help keys` lists every key.");
  for (const SettingGroup& group : setting_groups()) {
    text += "\n" + comment_lines(group.title + (group.intro.empty() ? "" : ". " + group.intro));
    text += "[" + group.name + "]\n";
    for (const Setting& setting : settings_table()) {
      if (setting.group != group.name || setting.kind == SettingKind::unused) continue;
      text +=
          key_comment(setting) + setting.key + " = " + literal(*value_of(document, setting)) + "\n";
    }
  }
  text +=
      "\n" + comment_lines("Exports: the optional outputs of the run") + "[" + kExportGroup + "]\n";
  const toml::table* exports = group_table(document, kExportGroup);
  for (const ExportKey& key : export_keys()) {
    const bool on = exports != nullptr && exports->get(key.key) != nullptr;
    text += comment_lines(key.meaning + " (" + key.option + ")") + key.key + " = " +
            (on ? "true" : "false") + "\n";
  }
  return text;
}

std::string command_line_text(const ArgumentLine& line) {
  std::string text;
  for (const std::string& argument : line.arguments)
    text += (text.empty() ? "" : " ") + shell_word(argument);
  for (const std::string& option : line.options) text += " " + option;
  return text;
}

}  // namespace veka
