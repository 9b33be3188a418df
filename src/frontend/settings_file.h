// Settings files: a TOML file whose keys name the 61 positional arguments by
// purpose (settings_table.h). Reading one gives exactly the 61 argument texts
// and the export options that the same run needs on a command line; a
// command line converts the other way into a commented settings file.
//
// A setting that cannot be used is refused before anything is run, with one
// line: "FILE:LINE: key: what is wrong (allowed: ...)". A value given with
// --set is named as "--set KEY=VALUE", an argument of a command line as
// "argument N (key)".
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace veka {

// A run as the 61-argument command line gives it.
struct ArgumentLine {
  std::vector<std::string> arguments;  // arguments 1..61 at [0..60]
  std::vector<std::string> options;    // export options such as "--plots"
};

// The one line of a refusal.
class SettingsRefused : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads the settings file `path`, then applies overrides "group.key=VALUE"
// (VALUE in TOML syntax; for a text key a plain word is taken as it is).
ArgumentLine read_settings_file(const std::string& path, const std::vector<std::string>& overrides);

// The same for settings text held in memory; `name` stands for the file in
// messages.
ArgumentLine read_settings_text(const std::string& text, const std::string& name,
                                const std::vector<std::string>& overrides = {});

// The commented settings file of a command line.
std::string settings_file_text(const ArgumentLine& line);

// The command line as shell words joined by blanks (quoted where a shell
// needs it), the options last.
std::string command_line_text(const ArgumentLine& line);

// The default of a key as a settings file writes it ("profile", [0.5, 2.0]).
struct Setting;
std::string default_literal(const Setting& setting);

// A real as an argument text: the shortest text that reads back as the same
// number, with ".0" on a whole number ("2.0", "0.8").
std::string real_argument_text(double value);

}  // namespace veka
