// Text layout of the front end's output for people: wrapped paragraphs,
// comment lines of a settings file and shell words.
#pragma once

#include <string>

namespace veka {

// `text` wrapped at blanks into lines of at most `width` characters, each
// line starting with `indent` and ending with "\n". A word longer than a
// line stands on a line of its own.
std::string wrapped(const std::string& text, int width, const std::string& indent);

// The text as TOML comment lines ("# ...") of at most 79 characters.
std::string comment_lines(const std::string& text);

// The text in double quotes.
std::string quoted(const std::string& text);

// The text as one shell word: as it is when it needs no quoting, otherwise
// in single quotes.
std::string shell_word(const std::string& text);

}  // namespace veka
