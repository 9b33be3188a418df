// The front end for people: the subcommands run, settings, args, inspect
// and help, --help and --version. A command line of exactly 61 positional
// arguments (export options after them) is the batch driver's, unchanged; a
// positional command line of any other length is refused here with one
// line, because a missing or extra argument shifts every one after it.
//
// Exit codes: 0 done, 1 a fatal error, 2 a bad command line or settings
// file, 3 done with warnings under run --strict.
#pragma once

namespace veka {

// Whether the command line is the 61-argument form: a first argument that
// is neither a subcommand nor an option, 61 positional arguments and then
// only options that start with "--".
bool is_positional_command_line(int argc, const char* const argv[]);

// Everything else.
int front_end_main(int argc, const char* const argv[]);

}  // namespace veka
