// The frame of the HTML pages of plots: one self-contained page (inline
// style, no script, nothing fetched), written as a text file with CR LF line
// ends like every other output of the program.
#pragma once

#include <string>

namespace veka {

// A complete page; `body` is HTML markup.
std::string html_page(const std::string& title, const std::string& body);

// Writes `text` (lines separated by "\n") to the named file, replacing it.
void write_text_file(const std::string& name, const std::string& text);

// The part of a path after its last "/".
std::string file_part(const std::string& path);

}  // namespace veka
