#include "export/html.h"

#include "common/text_output.h"
#include "export/svg.h"

namespace veka {

std::string html_page(const std::string& title, const std::string& body) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" +
         svg::escaped(title) +
         "</title>\n<style>\n"
         "body { font-family: Helvetica, Arial, sans-serif; margin: 24px; color: #222; }\n"
         "h1 { font-size: 22px; margin-bottom: 4px; }\n"
         "h2 { font-size: 17px; margin: 26px 0 6px; }\n"
         ".caption { font-size: 13px; line-height: 1.5; max-width: 1320px; }\n"
         ".row { display: flex; flex-wrap: wrap; gap: 8px; }\n"
         "figure { margin: 0; }\n"
         "figcaption { font-size: 12px; color: #444; max-width: 880px; }\n"
         "table { border-collapse: collapse; font-size: 13px; }\n"
         "th, td { border: 1px solid #bbb; padding: 3px 8px; }\n"
         "td.number { text-align: right; font-variant-numeric: tabular-nums; }\n"
         "</style>\n</head>\n<body>\n" +
         body + "</body>\n</html>\n";
}

void write_text_file(const std::string& name, const std::string& text) {
  TextOutput file(name, TextOutput::Mode::replace);
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    file.line(std::string_view(text).substr(start, end - start));
  }
  if (start < text.size()) file.write(std::string_view(text).substr(start));
  file.close();
}

std::string file_part(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1);
}

}  // namespace veka
