#include "frontend/text_layout.h"

#include <sstream>

namespace veka {

namespace {

constexpr int kCommentWidth = 79;

bool is_plain(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
         std::string("_./:+-=,@%").find(c) != std::string::npos;
}

}  // namespace

std::string wrapped(const std::string& text, int width, const std::string& indent) {
  std::istringstream words(text);
  std::string result;
  std::string line;
  for (std::string word; words >> word;) {
    if (!line.empty() && static_cast<int>(indent.size() + line.size() + 1 + word.size()) > width) {
      result += indent + line + "\n";
      line.clear();
    }
    line += (line.empty() ? "" : " ") + word;
  }
  if (!line.empty()) result += indent + line + "\n";
  return result;
}

std::string comment_lines(const std::string& text) {
  return wrapped(text, kCommentWidth, "# ");
}

std::string quoted(const std::string& text) {
  return "\"" + text + "\"";
}

std::string shell_word(const std::string& text) {
  bool plain = !text.empty();
  for (char c : text) plain = plain && is_plain(c);
  if (plain) return text;
  std::string word = "'";
  for (char c : text) word += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return word + "'";
}

}  // namespace veka
