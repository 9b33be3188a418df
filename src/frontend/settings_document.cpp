#include "frontend/settings_document.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <set>
#include <sstream>

#include "common/numbers.h"
#include "store/ctd_fields.h"

namespace veka {

namespace {

// One thing wrong with the settings, before it is placed in a message.
struct Problem {
  int line;         // 0 where the value has no line of a file
  std::string key;  // "group.key", or the unknown name
  std::string what;
  std::string allowed;
};

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
  return ctd_field_code(text) != 0;
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
  if (fields.empty() || fields.size() > static_cast<size_t>(kCtdFields)) return false;
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
      letters.resize(kCtdFields, kUnusedField);
      return letters;
    }
    default:
      return {node.as_string()->get()};
  }
}

// ---- A whole document ----

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
    const std::string name = std::string(kExportGroup) + "." + key.key;
    auto refuse = [&](const toml::node& value, const std::string& what,
                      const std::string& allowed) {
      problems.push_back({line_of(value.source()), name, literal(value) + what, allowed});
    };
    if (!key.takes_value()) {
      if (!node->is_boolean()) {
        refuse(*node, " is " + type_name(*node), "true or false");
      } else if (node->as_boolean()->get()) {
        line.options.push_back(key.option);
      }
      continue;
    }
    // A setting's value, as its option takes it.
    auto take = [&](const toml::node& value, const std::string& text) {
      ExportOptions scratch;
      if (!key.apply(text, scratch)) return refuse(value, " is not allowed", key.allowed);
      line.options.insert(line.options.end(), {key.option, text});
    };
    const bool integer = key.kind == ExportKey::Kind::integer;
    if (key.kind == ExportKey::Kind::texts && node->is_array()) {
      for (const toml::node& element : *node->as_array()) {
        if (!element.is_string()) {
          refuse(element, " is " + type_name(element), "texts, " + key.allowed);
        } else {
          take(element, element.as_string()->get());
        }
      }
    } else if (integer && node->is_integer()) {
      take(*node, std::to_string(node->as_integer()->get()));
    } else if (key.kind == ExportKey::Kind::text && node->is_string()) {
      take(*node, node->as_string()->get());
    } else {
      refuse(*node, " is " + type_name(*node),
             (integer                              ? "an integer, "
              : key.kind == ExportKey::Kind::texts ? "a list of texts, "
                                                   : "a text, ") +
                 key.allowed);
    }
  }
}

std::string location(const SettingsOrigin& origin, const Problem& problem) {
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
int rank(const SettingsOrigin& origin, const Problem& problem) {
  if (origin.overrides.count(problem.key) != 0) return INT_MAX;
  return problem.line > 0 ? problem.line : INT_MAX - 1;
}

}  // namespace

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

const toml::table* group_table(const toml::table& document, const std::string& group) {
  const toml::node* node = document.get(group);
  return node != nullptr ? node->as_table() : nullptr;
}

const toml::node* value_of(const toml::table& document, const Setting& setting) {
  const toml::table* table = group_table(document, setting.group);
  return table != nullptr ? table->get(setting.key) : nullptr;
}

toml::table& table_in(toml::table& document, const std::string& group) {
  if (toml::table* table = document[group].as_table()) return *table;
  document.insert_or_assign(group, toml::table{});
  return *document[group].as_table();
}

bool is_known_group(const std::string& group) {
  if (group == kExportGroup) return true;
  for (const SettingGroup& known : setting_groups()) {
    if (known.name == group) return true;
  }
  return false;
}

ArgumentLine arguments_of(const toml::table& document, const SettingsOrigin& origin) {
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

}  // namespace veka
