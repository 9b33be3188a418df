// The reference of the settings keys, made from the settings table: for the
// terminal (vekaproc --help, vekaproc help keys) and as the Markdown tables
// of the README's argument reference (vekaproc help keys --markdown).
#pragma once

#include <string>

namespace veka {

std::string keys_help_text();
std::string keys_markdown();

// The exit codes of every subcommand, for the help text.
std::string exit_codes_text();

}  // namespace veka
