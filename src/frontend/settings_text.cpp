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
  for (size_t i = 0; i < line.options.size(); ++i) {
    const std::string& option = line.options[i];
    const ExportKey* known = export_key_for(option);
    if (known == nullptr) {
      std::string listed;
      for (const ExportKey& key : export_keys())
        listed += (listed.empty() ? "" : ", ") + key.option;
      throw SettingsRefused("option " + option + ": unknown (allowed: " + listed + ")");
    }
    toml::table& exports = table_in(document, kExportGroup);
    if (!known->takes_value()) {
      exports.insert_or_assign(known->key, true);
      continue;
    }
    ExportOptions scratch;
    if (i + 1 == line.options.size() || !known->apply(line.options[i + 1], scratch)) {
      std::string what = i + 1 == line.options.size()
                             ? "no value after it"
                             : "\"" + line.options[i + 1] + "\" is not allowed";
      throw SettingsRefused("option " + option + ": " + what + " (allowed: " + known->allowed +
                            ")");
    }
    const std::string& value = line.options[++i];
    if (known->kind == ExportKey::Kind::integer) {
      exports.insert_or_assign(known->key, int64_t{*parse_integer(value)});
    } else if (known->kind == ExportKey::Kind::text) {
      exports.insert_or_assign(known->key, value);
    } else {
      if (exports.get(known->key) == nullptr) exports.insert_or_assign(known->key, toml::array{});
      exports.get(known->key)->as_array()->push_back(value);
    }
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
    const toml::node* given = exports != nullptr ? exports->get(key.key) : nullptr;
    if (!key.takes_value()) {
      text += comment_lines(key.meaning + " (" + key.option + ")") + key.key + " = " +
              (given != nullptr ? "true" : "false") + "\n";
    } else {
      text += comment_lines(key.meaning + " (" + key.option + "). Allowed: " + key.allowed + ".") +
              (given != nullptr ? key.key + " = " + literal(*given) : "# " + key.key + " =") + "\n";
    }
  }
  return text;
}

std::string command_line_text(const ArgumentLine& line) {
  std::string text;
  for (const std::string& argument : line.arguments)
    text += (text.empty() ? "" : " ") + shell_word(argument);
  for (const std::string& option : line.options) text += " " + shell_word(option);
  return text;
}

}  // namespace veka
