#include "store/data_file.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/support.h"

namespace veka {

namespace {

// The lines as a reader must see them: split at LF, a CR before the LF or
// at the end of the file dropped, nothing after a final LF.
std::vector<std::string> expected_lines(const std::string& content) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < content.size()) {
    size_t end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

// Lines of 1 to 300 characters, some ending in CR LF, with a CR inside
// some, and the given long lines among them, up to about `bytes`.
std::string recording_text(size_t bytes, const std::vector<size_t>& long_lines) {
  std::string text;
  uint32_t random = 12345;
  size_t next_long = 0;
  for (int line = 0; text.size() < bytes; ++line) {
    random = random * 1103515245 + 12345;
    size_t length = 1 + (random >> 8) % 300;
    if (line % 1000 == 999 && next_long < long_lines.size()) length = long_lines[next_long++];
    std::string body(length, static_cast<char>('a' + line % 26));
    if (line % 7 == 3) body[length / 2] = '\r';
    text += body + (line % 5 == 0 ? "\r\n" : "\n");
  }
  return text;
}

}  // namespace

// Every line reaches the passes whole, whether the file fits in the window
// or passes through it in pieces, with lines across the window's ends,
// lines longer than the index notes (64 kB) and than the window (4 MB), and
// after a rewind exactly as the first time.
TEST(DataFile, EveryPassSeesEveryLineAsWritten) {
  const struct {
    const char* name;
    std::string content;
  } cases[] = {
      {"empty", ""},
      {"one line without its end", "abc\r"},
      {"line ends only", "\n\r\n\n"},
      {"small recording", recording_text(200000, {70000})},
      {"larger than the window", recording_text(12u << 20, {70000, 5u << 20, 100})},
  };
  support::ScratchDir dir;
  DataFile file;
  for (const auto& c : cases) {
    const std::string name = dir.path() + "R.dat";
    support::write_file(name, c.content);
    const std::vector<std::string> lines = expected_lines(c.content);
    file.open(name);
    EXPECT_EQ(file.size(), c.content.size()) << c.name;
    for (int pass = 0; pass < 2; ++pass) {
      size_t n = 0;
      for (; !file.at_end(); ++n, file.skip_line()) {
        ASSERT_LT(n, lines.size()) << c.name;
        std::string line;
        if (pass == 0) {
          line = std::string(file.rest_of_line());
        } else {
          for (int ch = file.read_char(); ch != DataFile::kEmpty; ch = file.read_char()) {
            line += static_cast<char>(ch);
          }
        }
        ASSERT_EQ(line, lines[n]) << c.name << ", pass " << pass << ", line " << n;
      }
      EXPECT_EQ(n, lines.size()) << c.name << ", pass " << pass;
      EXPECT_EQ(file.read_char(), DataFile::kEmpty) << c.name;
      file.rewind();
    }
    file.close();
  }
}

}  // namespace veka
