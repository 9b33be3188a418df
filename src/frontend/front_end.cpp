#include "frontend/front_end.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <string>
#include <vector>

#include "common/fatal.h"
#include "frontend/recording_scan.h"
#include "frontend/settings_file.h"
#include "frontend/settings_reference.h"
#include "frontend/settings_run.h"
#include "frontend/settings_table.h"
#include "frontend/text_layout.h"

namespace veka {

namespace {

constexpr int kBadCommandLine = 2;
constexpr int kHelpWidth = 79;
const char* const kHelpTopicKeys = "keys";

const std::vector<std::string>& subcommand_names() {
  static const std::vector<std::string> names = {"run", "settings", "args", "inspect", "help"};
  return names;
}

bool is_subcommand(const std::string& word) {
  const auto& names = subcommand_names();
  return std::find(names.begin(), names.end(), word) != names.end();
}

bool is_option(const std::string& word) {
  return word.rfind("--", 0) == 0;
}

int refuse(const std::string& line) {
  std::fputs((line + "\n").c_str(), stderr);
  return kBadCommandLine;
}

// Positional arguments and the options after them; an empty result with
// `refusal` set when the words are not 61 arguments and options.
struct PositionalWords {
  ArgumentLine line;
  std::string refusal;
};

PositionalWords split_positional(const std::vector<std::string>& words) {
  PositionalWords split;
  std::string first_option;
  int positional = 0;
  bool option_among = false;
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (is_option(word)) {
      if (first_option.empty()) first_option = word;
      split.line.options.push_back(word);
      // A setting's value belongs to it, whatever it looks like.
      const ExportKey* key = export_key_for(word);
      if (key != nullptr && key->takes_value() && i + 1 < words.size()) {
        split.line.options.push_back(words[++i]);
      }
    } else {
      option_among = option_among || !first_option.empty();
      split.line.arguments.push_back(word);
      ++positional;
    }
  }
  if (positional != kArgumentCount) {
    split.refusal = "vekaproc: " + std::to_string(positional) +
                    " positional arguments given; a command line of positional arguments needs "
                    "exactly 61 (see vekaproc --help)";
  } else if (option_among) {
    split.refusal = "vekaproc: option " + first_option +
                    " stands among the 61 positional arguments; options go after them (see "
                    "vekaproc --help)";
  }
  return split;
}

std::string main_footer() {
  return wrapped(
             "A command line of exactly 61 positional arguments, with export options such as "
             "--plots after them, runs as it always has: vekaproc IN/ NAME OUT/ <arguments "
             "4..61> (the README lists them). `vekaproc settings` turns such a line into a "
             "settings file and `vekaproc args` turns a settings file back into the line. A "
             "data folder named like a subcommand is given as ./run/. `vekaproc help COMMAND` "
             "shows the options of a subcommand, `vekaproc help keys` the settings keys alone.",
             kHelpWidth, "") +
         "\n" + keys_help_text() + "\n" + exit_codes_text();
}

// The options of one subcommand, bound to what the command line gives.
struct Request {
  std::string file;  // the settings file, the data file or the help topic
  std::vector<std::string> sets;
  bool console = false;
  bool strict = false;
  bool json = false;
  bool markdown = false;
  int depth_field = 1;
  std::deque<bool> exports = std::deque<bool>(export_keys().size(), false);
};

void add_set_option(CLI::App& command, Request& request) {
  command
      .add_option("--set", request.sets, "a setting on top of the file, such as binning.mode=time")
      ->type_name("TABLE.KEY=VALUE")
      ->allow_extra_args(false);
}

CLI::App* add_run(CLI::App& app, Request& request) {
  CLI::App* run = app.add_subcommand("run", "process the data files a settings file names");
  run->add_option("SETTINGS", request.file, "settings file (TOML)")->required();
  add_set_option(*run, request);
  run->add_flag("--console", request.console,
                "the console text on the standard output instead of the console log");
  run->add_flag("--strict", request.strict, "exit code 3 when the run had warnings");
  for (size_t i = 0; i < export_keys().size(); ++i) {
    if (export_keys()[i].takes_value()) continue;  // given in the settings file
    run->add_flag(export_keys()[i].option, request.exports[i], export_keys()[i].meaning);
  }
  run->footer(
      wrapped("The console text goes byte for byte to <output folder>a_Console_<data "
              "set>_<run label>.txt, waits for Enter pass at once, and the terminal shows a "
              "line per data file and a summary. A data file whose analysed range holds no "
              "sample record gets a warning on the standard error.",
              kHelpWidth, "") +
      "\n" + exit_codes_text());
  return run;
}

int do_run(const Request& request, const char* program) {
  SettingsRun run;
  try {
    run.line = read_settings_file(request.file, request.sets);
  } catch (const SettingsRefused& refusal) {
    return refuse(refusal.what());
  }
  for (size_t i = 0; i < export_keys().size(); ++i) {
    const std::string& option = export_keys()[i].option;
    auto& options = run.line.options;
    if (request.exports[i] && std::find(options.begin(), options.end(), option) == options.end()) {
      options.push_back(option);
    }
  }
  run.program = program;
  run.console_on_terminal = request.console;
  run.strict = request.strict;
  return run_settings(run);
}

int do_settings(const std::vector<std::string>& words) {
  PositionalWords split = split_positional(words);
  if (!split.refusal.empty()) return refuse(split.refusal);
  try {
    std::fputs(settings_file_text(split.line).c_str(), stdout);
  } catch (const SettingsRefused& refusal) {
    return refuse(std::string("vekaproc settings: ") + refusal.what());
  }
  return 0;
}

int do_args(const Request& request) {
  try {
    std::fputs((command_line_text(read_settings_file(request.file, request.sets)) + "\n").c_str(),
               stdout);
  } catch (const SettingsRefused& refusal) {
    return refuse(refusal.what());
  }
  return 0;
}

int do_inspect(const Request& request) {
  try {
    const RecordingScan scan = scan_recording(request.file, request.depth_field);
    std::fputs((request.json ? scan_json(scan) : scan_report(scan)).c_str(), stdout);
  } catch (const FatalError& error) {
    std::fputs(("vekaproc: " + request.file + ": " + error.what() + "\n").c_str(), stderr);
    return 1;
  }
  return 0;
}

int do_help(const CLI::App& app, const Request& request) {
  const std::string& topic = request.file;
  if (topic.empty()) {
    std::fputs(app.help().c_str(), stdout);
  } else if (topic == kHelpTopicKeys) {
    std::fputs((request.markdown ? keys_markdown() : keys_help_text()).c_str(), stdout);
  } else if (is_subcommand(topic)) {
    std::fputs(app.get_subcommand(topic)->help(app.get_name()).c_str(), stdout);
  } else {
    return refuse("vekaproc help: no command " + topic +
                  " (commands: run, settings, args, "
                  "inspect, help; and keys for the settings keys)");
  }
  return 0;
}

// The subcommands, bound to the request they fill.
struct Commands {
  CLI::App* run;
  CLI::App* settings;
  CLI::App* args;
  CLI::App* inspect;
  CLI::App* help;
};

Commands add_commands(CLI::App& app, Request& request) {
  Commands c;
  c.run = add_run(app, request);
  c.settings = app.add_subcommand("settings", "print the settings file of a 61-argument line");
  c.settings->prefix_command();
  c.settings->footer("Usage: vekaproc settings ARG1 ... ARG61 [--plots] [--odv] [--netcdf]\n\n" +
                     exit_codes_text());
  c.args = app.add_subcommand("args", "print the 61-argument line of a settings file");
  c.args->add_option("SETTINGS", request.file, "settings file (TOML)")->required();
  add_set_option(*c.args, request);
  c.inspect = app.add_subcommand("inspect", "say what a recording holds");
  c.inspect->add_option("FILE", request.file, "data file")->required();
  c.inspect->add_flag("--json", request.json, "the same fields as one JSON object");
  c.inspect
      ->add_option("--depth-field", request.depth_field,
                   "position of the depth among the values of a CTD line (default 1)")
      ->check(CLI::Range(1, 11));
  c.help = app.add_subcommand("help", "help on a command, or on the settings keys");
  c.help->add_option("COMMAND", request.file, "a subcommand, or keys");
  c.help->add_flag("--markdown", request.markdown, "the keys as the README's Markdown tables");
  for (CLI::App* command : {c.args, c.inspect, c.help}) command->footer(exit_codes_text());
  return c;
}

}  // namespace

bool is_positional_command_line(int argc, const char* const argv[]) {
  if (argc < 2) return false;
  const std::string first = argv[1];
  if (first.empty() || first[0] == '-' || is_subcommand(first)) return false;
  return split_positional(std::vector<std::string>(argv + 1, argv + argc)).refusal.empty();
}

int front_end_main(int argc, const char* const argv[]) {
  const std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty() || (!is_subcommand(words[0]) && words[0].rfind('-', 0) != 0)) {
    return refuse(split_positional(words).refusal);
  }
  CLI::App app{"vekaproc: batch post-processor of VEKA counter recordings", "vekaproc"};
  app.set_version_flag("--version", "vekaproc " VEKAPROC_VERSION);
  app.require_subcommand(1);
  app.footer(main_footer());
  Request request;
  const Commands commands = add_commands(app, request);
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e);
  } catch (const CLI::CallForVersion& e) {
    return app.exit(e);
  } catch (const CLI::ParseError& e) {
    return refuse("vekaproc: " + std::string(e.what()) + " (see vekaproc --help)");
  }
  if (*commands.run) return do_run(request, argv[0]);
  if (*commands.settings) return do_settings(commands.settings->remaining());
  if (*commands.args) return do_args(request);
  if (*commands.inspect) return do_inspect(request);
  return do_help(app, request);
}

}  // namespace veka
