#include "frontend/settings_reference.h"

#include "frontend/settings_file.h"
#include "frontend/settings_table.h"
#include "frontend/text_layout.h"

namespace veka {

namespace {

constexpr int kHelpWidth = 79;

std::string code(const std::string& text) {
  return "`" + text + "`";
}

std::string key_help(const Setting& setting) {
  std::string head = "  " + setting.name() + " = " +
                     (setting.required ? std::string("(required)") : default_literal(setting));
  head +=
      "   argument " + setting.positions() + (setting.units.empty() ? "" : ", in " + setting.units);
  return head + "\n" +
         wrapped(setting.meaning_with_choices(quoted) + ". Allowed: " + setting.allowed() + ".",
                 kHelpWidth, "      ");
}

std::string markdown_row(const Setting& setting) {
  const std::string key = setting.kind == SettingKind::unused
                              ? ""
                              : code(setting.name()) + (setting.required ? " (required)" : "");
  return "| " + setting.positions() + " | " + key + " | " + code(setting.sample) + " | " +
         setting.meaning_with_choices(code) + " |\n";
}

}  // namespace

std::string keys_help_text() {
  std::string text = wrapped(
      "Settings keys of vekaproc run, by table, with their defaults (the sample's settings) and "
      "the argument of the 61-argument command line that each one fills. The names and file "
      "numbers are required.",
      kHelpWidth, "");
  for (const SettingGroup& group : setting_groups()) {
    text += "\n[" + group.name + "] " + group.title + "\n";
    if (!group.intro.empty()) text += wrapped(group.intro, kHelpWidth, "  ");
    for (const Setting& setting : settings_table()) {
      if (setting.group == group.name && setting.kind != SettingKind::unused) {
        text += key_help(setting);
      }
    }
  }
  text += "\n[" + std::string(kExportGroup) +
          "] optional outputs, true or false (default false), and their settings\n";
  for (const ExportKey& key : export_keys()) {
    std::string option = key.option + (key.takes_value() ? " VALUE" : "");
    std::string meaning = key.meaning + (key.takes_value() ? ". Allowed: " + key.allowed : "");
    text += "  " + std::string(kExportGroup) + "." + key.key + "   option " + option + "\n" +
            wrapped(meaning, kHelpWidth, "      ");
  }
  return text;
}

std::string keys_markdown() {
  std::string text;
  for (const SettingGroup& group : setting_groups()) {
    text += "### " + group.title + "\n\n";
    if (!group.intro.empty()) text += group.intro + "\n\n";
    text += "| Arg | Key | Sample | Meaning |\n|---|---|---|---|\n";
    for (const Setting& setting : settings_table()) {
      if (setting.group == group.name) text += markdown_row(setting);
    }
    text += "\n";
  }
  text += "### Exports\n\n| Key | Option | Meaning |\n|---|---|---|\n";
  for (const ExportKey& key : export_keys()) {
    std::string option = key.option + (key.takes_value() ? " VALUE" : "");
    std::string meaning = key.takes_value() ? key.meaning + "; allowed: " + key.allowed
                                            : key.meaning + " (true or false)";
    text += "| " + code(std::string(kExportGroup) + "." + key.key) + " | " + code(option) + " | " +
            meaning + " |\n";
  }
  return text;
}

std::string exit_codes_text() {
  return "Exit codes:\n"
         "  0  done\n"
         "  1  a fatal error: a file that cannot be read or written, an argument that is\n"
         "     not a number, a floating-point fault (one line names it)\n"
         "  2  a bad command line or settings file (one line on the standard error)\n"
         "  3  done with warnings, under vekaproc run --strict\n";
}

}  // namespace veka
