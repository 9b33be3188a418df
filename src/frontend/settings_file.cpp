#include "frontend/settings_file.h"

#include <toml++/toml.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstring>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "common/numbers.h"
#include "driver/run_parameters.h"
#include "frontend/settings_table.h"
#include "frontend/text_layout.h"

namespace veka {

namespace {

// One thing wrong with the settings, before it is placed in a message.
struct Problem {
  int line;         // 0 where the value has no line of a file
  std::string key;  // "group.key", or the unknown name
  std::string what;
  std::string allowed;
};

// Where the values of a settings document came from, for the messages.
struct Origin {
  std::string file;                              // named with the line
  std::map<std::string, std::string> overrides;  // key -> "--set KEY=VALUE"
  bool from_arguments = false;                   // a command line: "argument N (key)"
};

int line_of(const toml::source_region& source) {
  return static_cast<int>(source.begin.line);
}

std::string literal(const toml::node& node) {
  if (const auto* real = node.as_floating_point()) return real_argument_text(real->get());
  if (const auto* array = node.as_array()) {
    std::string text;
    for (const toml::node& element : *array) text += (text.empty() ? "" : ", ") + literal(element);
    return "[" + text + "]";
  }
  std::ostringstream out;
  out << toml::toml_formatter{node, toml::format_flags::none};
  return out.str();
}

std::string type_name(const toml::node& node) {
  switch (node.type()) {
    case toml::node_type::string:
      return "a string";
    case toml::node_type::integer:
      return "an integer";
    case toml::node_type::floating_point:
      return "a number with a fraction";
    case toml::node_type::boolean:
      return "true or false";
    case toml::node_type::array:
      return "a list";
    case toml::node_type::table:
      return "a table";
    default:
      return "a date or time";
  }
}

// ---- One value ----

std::optional<double> number_of(const toml::node& node) {
  if (const auto* whole = node.as_integer()) return static_cast<double>(whole->get());
  if (const auto* real = node.as_floating_point()) return real->get();
  return std::nullopt;
}

bool in_range(const NumberRange& range, double x) {
  return (range.above_low ? x > range.low : x >= range.low) && x <= range.high;
}

bool is_field_letter(const std::string& text) {
  return std::find(std::begin(kCtdFieldCodes), std::end(kCtdFieldCodes), text) !=
         std::end(kCtdFieldCodes);
}

const SettingChoice* choice_named(const Setting& setting, const std::string& name) {
  for (const SettingChoice& choice : setting.choices) {
    if (choice.name == name) return &choice;
  }
  return nullptr;
}

bool valid_integer(const Setting& setting, int64_t value) {
  if (value < INT32_MIN || value > INT32_MAX) return false;
  if (setting.integer_values.empty()) return in_range(setting.range, static_cast<double>(value));
  const auto& values = setting.integer_values;
  return std::find(values.begin(), values.end(), value) != values.end();
}

bool valid_bounds(const Setting& setting, const toml::array& pair) {
  if (pair.size() != 2) return false;
  std::optional<double> low = number_of(pair[0]);
  std::optional<double> high = number_of(pair[1]);
  return low && high && in_range(setting.range, *low) && in_range(setting.range, *high) &&
         *low <= *high;
}

bool valid_fields(const toml::array& fields) {
  if (fields.empty() || fields.size() > static_cast<size_t>(kCtdFieldCodeCount)) return false;
  std::set<std::string> seen;
  for (const toml::node& field : fields) {
    const auto* text = field.as_string();
    if (text == nullptr) return false;
    const std::string& letter = text->get();
    if (letter == kUnusedField) continue;
    if (!is_field_letter(letter) || !seen.insert(letter).second) return false;
  }
  return true;
}

// Whether the node has the type the setting needs, and then whether its
// value is allowed.
bool has_type(const Setting& setting, const toml::node& node) {
  switch (setting.kind) {
    case SettingKind::integer:
      return node.is_integer();
    case SettingKind::real:
      return node.is_number();
    case SettingKind::bounds:
    case SettingKind::ctd_fields:
      return node.is_array();
    default:
      return node.is_string();
  }
}

bool is_allowed(const Setting& setting, const toml::node& node) {
  switch (setting.kind) {
    case SettingKind::folder: {
      const std::string& text = node.as_string()->get();
      return !text.empty() && text.back() == '/';
    }
    case SettingKind::text: {
      const std::string& text = node.as_string()->get();
      return !text.empty() &&
             (setting.max_length == 0 || text.size() <= static_cast<size_t>(setting.max_length));
    }
    case SettingKind::integer:
      return valid_integer(setting, node.as_integer()->get());
    case SettingKind::real:
      return in_range(setting.range, *number_of(node));
    case SettingKind::choice:
      return choice_named(setting, node.as_string()->get()) != nullptr;
    case SettingKind::bounds:
      return valid_bounds(setting, *node.as_array());
    case SettingKind::ctd_fields:
      return valid_fields(*node.as_array());
    case SettingKind::unused:
      break;
  }
  return false;
}

std::string number_argument(const toml::node& node) {
  if (const auto* whole = node.as_integer()) return std::to_string(whole->get());
  return real_argument_text(node.as_floating_point()->get());
}

// The argument texts of an allowed value.
std::vector<std::string> argument_texts(const Setting& setting, const toml::node& node) {
  switch (setting.kind) {
    case SettingKind::integer:
    case SettingKind::real:
      return {number_argument(node)};
    case SettingKind::choice:
      return {choice_named(setting, node.as_string()->get())->argument};
    case SettingKind::bounds: {
      const toml::array& pair = *node.as_array();
      return {number_argument(pair[0]), number_argument(pair[1])};
    }
    case SettingKind::ctd_fields: {
      std::vector<std::string> letters;
      for (const toml::node& field : *node.as_array()) letters.push_back(field.as_string()->get());
      letters.resize(kCtdFieldCodeCount, kUnusedField);
      return letters;
    }
    default:
      return {node.as_string()->get()};
  }
}

// ---- A whole document ----

const toml::table* group_table(const toml::table& document, const std::string& group) {
  const toml::node* node = document.get(group);
  return node != nullptr ? node->as_table() : nullptr;
}

std::string known_keys(const std::string& group) {
  std::string list;
  auto add = [&](const std::string& key) { list += (list.empty() ? "" : ", ") + key; };
  for (const Setting& setting : settings_table()) {
    if (setting.group == group && setting.kind != SettingKind::unused) add(setting.key);
  }
  if (group == kExportGroup) {
    for (const ExportKey& key : export_keys()) add(key.key);
  }
  return list;
}

std::string known_groups() {
  std::string list;
  for (const SettingGroup& group : setting_groups()) list += group.name + ", ";
  return list + kExportGroup;
}

bool is_known_key(const std::string& group, const std::string& key) {
  if (group != kExportGroup) return find_setting(group, key) != nullptr;
  for (const ExportKey& known : export_keys()) {
    if (known.key == key) return true;
  }
  return false;
}

bool is_known_group(const std::string& group) {
  if (group == kExportGroup) return true;
  for (const SettingGroup& known : setting_groups()) {
    if (known.name == group) return true;
  }
  return false;
}

void check_names(const toml::table& document, std::vector<Problem>& problems) {
  for (const auto& [group, node] : document) {
    const std::string name(group.str());
    const int line = line_of(group.source());
    if (!node.is_table()) {
      problems.push_back({line, name, "a key outside the tables", "the tables " + known_groups()});
    } else if (!is_known_group(name)) {
      problems.push_back({line, name, "unknown table", known_groups()});
    } else {
      for (const auto& [key, value] : *node.as_table()) {
        if (is_known_key(name, std::string(key.str()))) continue;
        problems.push_back({line_of(key.source()), name + "." + std::string(key.str()),
                            "unknown key", known_keys(name)});
      }
    }
  }
}

const toml::node* value_of(const toml::table& document, const Setting& setting) {
  const toml::table* table = group_table(document, setting.group);
  return table != nullptr ? table->get(setting.key) : nullptr;
}

std::vector<std::string> setting_arguments(const toml::table& document, const Setting& setting,
                                           std::vector<Problem>& problems) {
  if (setting.kind == SettingKind::unused) return setting.default_arguments();
  const toml::node* node = value_of(document, setting);
  if (node == nullptr) {
    if (!setting.required) return setting.default_arguments();
    const toml::table* table = group_table(document, setting.group);
    problems.push_back({table != nullptr ? line_of(table->source()) : 1, setting.name(),
                        "required key missing", setting.allowed()});
    return {};
  }
  const int line = line_of(node->source());
  if (!has_type(setting, *node)) {
    problems.push_back(
        {line, setting.name(), literal(*node) + " is " + type_name(*node), setting.allowed()});
  } else if (!is_allowed(setting, *node)) {
    problems.push_back(
        {line, setting.name(), literal(*node) + " is not allowed", setting.allowed()});
  } else {
    return argument_texts(setting, *node);
  }
  return {};
}

// A last value that must not come before a first one.
struct OrderedPair {
  int first, last;  // argument numbers
  bool (*applies)(const ArgumentLine& line);
};

bool uses_time_counts(const ArgumentLine& line) {
  const std::string& mode = line.arguments[3];  // argument 4
  return mode == "0" || mode == "1";
}

bool always(const ArgumentLine&) {
  return true;
}

void check_order(const toml::table& document, const ArgumentLine& line,
                 std::vector<Problem>& problems) {
  static const OrderedPair kPairs[] = {{57, 58, always}, {5, 6, uses_time_counts}};
  for (const OrderedPair& pair : kPairs) {
    if (!pair.applies(line)) continue;
    auto first = parse_integer(line.arguments[pair.first - 1]);
    auto last = parse_integer(line.arguments[pair.last - 1]);
    if (!first || !last || *last >= *first) continue;
    const Setting& first_setting = setting_at(pair.first);
    const Setting& last_setting = setting_at(pair.last);
    const toml::node* node = value_of(document, last_setting);
    problems.push_back({node != nullptr ? line_of(node->source()) : 0, last_setting.name(),
                        std::to_string(*last) + " comes before " + first_setting.name() + " = " +
                            std::to_string(*first),
                        "an integer, at least " + first_setting.name()});
  }
}

void read_export_table(const toml::table& document, ArgumentLine& line,
                       std::vector<Problem>& problems) {
  const toml::table* table = group_table(document, kExportGroup);
  if (table == nullptr) return;
  for (const ExportKey& key : export_keys()) {
    const toml::node* node = table->get(key.key);
    if (node == nullptr) continue;
    if (!node->is_boolean()) {
      problems.push_back({line_of(node->source()), std::string(kExportGroup) + "." + key.key,
                          literal(*node) + " is " + type_name(*node), "true or false"});
    } else if (node->as_boolean()->get()) {
      line.options.push_back(key.option);
    }
  }
}

std::string location(const Origin& origin, const Problem& problem) {
  if (origin.from_arguments) {
    for (const Setting& setting : settings_table()) {
      if (setting.name() == problem.key)
        return "argument " + setting.positions() + " (" + problem.key + ")";
    }
    return problem.key;
  }
  auto set = origin.overrides.find(problem.key);
  if (set != origin.overrides.end()) return set->second + ": " + problem.key;
  return origin.file + ":" + std::to_string(problem.line) + ": " + problem.key;
}

// Problems in the order a reader of the file meets them, overrides last.
int rank(const Origin& origin, const Problem& problem) {
  if (origin.overrides.count(problem.key) != 0) return INT_MAX;
  return problem.line > 0 ? problem.line : INT_MAX - 1;
}

ArgumentLine arguments_of(const toml::table& document, const Origin& origin) {
  std::vector<Problem> problems;
  check_names(document, problems);
  ArgumentLine line;
  line.arguments.assign(kArgumentCount, "");
  for (const Setting& setting : settings_table()) {
    std::vector<std::string> texts = setting_arguments(document, setting, problems);
    for (size_t i = 0; i < texts.size(); ++i) line.arguments[setting.position - 1 + i] = texts[i];
  }
  if (problems.empty()) check_order(document, line, problems);
  read_export_table(document, line, problems);
  if (problems.empty()) return line;
  const Problem& first = *std::min_element(
      problems.begin(), problems.end(),
      [&](const Problem& a, const Problem& b) { return rank(origin, a) < rank(origin, b); });
  throw SettingsRefused(location(origin, first) + ": " + first.what +
                        " (allowed: " + first.allowed + ")");
}

// ---- Overrides ----

toml::table& table_in(toml::table& document, const std::string& group) {
  if (toml::table* table = document[group].as_table()) return *table;
  document.insert_or_assign(group, toml::table{});
  return *document[group].as_table();
}

bool takes_text(const Setting* setting) {
  return setting != nullptr &&
         (setting->kind == SettingKind::folder || setting->kind == SettingKind::text ||
          setting->kind == SettingKind::choice);
}

void apply_override(toml::table& document, const std::string& text, Origin& origin) {
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

ArgumentLine read_document(toml::table document, Origin origin,
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

// ---- From a command line ----

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

std::string real_argument_text(double value) {
  char text[64];
  auto result = std::to_chars(text, text + sizeof text, value);
  std::string written(text, result.ptr);
  if (written.find_first_of(".en") == std::string::npos) written += ".0";
  return written;
}

std::string default_literal(const Setting& setting) {
  toml::table table;
  put_setting(table, setting, setting.default_arguments());
  return literal(*table.get(setting.key));
}

ArgumentLine read_settings_text(const std::string& text, const std::string& name,
                                const std::vector<std::string>& overrides) {
  Origin origin;
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

std::string settings_file_text(const ArgumentLine& line) {
  const toml::table document = document_of(line);
  Origin origin;
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
