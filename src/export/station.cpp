#include "export/station.h"

#include <cctype>
#include <sstream>
#include <vector>

#include "common/numbers.h"
#include "store/store.h"

namespace veka {

namespace {

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

// The value after `label` when the line's text starts with it as a word.
std::optional<std::string> labelled_value(const std::string& body, const std::string& label) {
  if (body.compare(0, label.size(), label) != 0) return std::nullopt;
  if (body.size() > label.size() && !std::isspace(static_cast<unsigned char>(body[label.size()]))) {
    return std::nullopt;
  }
  return trimmed(body.substr(label.size()));
}

bool digits_with_separators(const std::string& text, const std::string& pattern) {
  if (text.size() != pattern.size()) return false;
  for (size_t i = 0; i < text.size(); ++i) {
    bool digit = std::isdigit(static_cast<unsigned char>(text[i])) != 0;
    if (pattern[i] == '9' ? !digit : text[i] != pattern[i]) return false;
  }
  return true;
}

std::string first_word(const std::string& text) {
  return text.substr(0, text.find(' '));
}

void take_line(const std::string& body, StationHeader& header) {
  if (auto v = labelled_value(body, "Cruise")) header.cruise = *v;
  if (auto v = labelled_value(body, "Station")) header.station = *v;
  if (auto v = labelled_value(body, "Date")) {
    if (digits_with_separators(first_word(*v), "9999-99-99")) header.date = first_word(*v);
  }
  if (auto v = labelled_value(body, "Time (UTC)")) {
    if (digits_with_separators(first_word(*v), "99:99:99")) header.time = first_word(*v);
  }
  if (auto v = labelled_value(body, "Lat")) header.latitude = parse_position(*v, 'N', 'S', 90.0);
  if (auto v = labelled_value(body, "Lon")) header.longitude = parse_position(*v, 'E', 'W', 180.0);
  if (auto v = labelled_value(body, "Bottom depth")) {
    auto depth = parse_real(first_word(*v));
    if (depth && *depth > 0.0) header.bottom_depth = depth;
  }
}

}  // namespace

std::string StationHeader::date_time() const {
  if (date.empty()) return "";
  return time.empty() ? date : date + "T" + time;
}

std::optional<double> parse_position(const std::string& text, char positive, char negative,
                                     double limit) {
  std::istringstream words(text);
  std::vector<std::string> parts;
  for (std::string word; words >> word;) parts.push_back(word);
  double sign = 1.0;
  if (!parts.empty() && parts.back().size() == 1 &&
      std::isalpha(static_cast<unsigned char>(parts.back()[0]))) {
    char hemisphere = static_cast<char>(std::toupper(static_cast<unsigned char>(parts.back()[0])));
    if (hemisphere != positive && hemisphere != negative) return std::nullopt;
    sign = hemisphere == negative ? -1.0 : 1.0;
    parts.pop_back();
  }
  if (parts.empty() || parts.size() > 2) return std::nullopt;
  auto degrees = parse_real(parts[0]);
  if (!degrees) return std::nullopt;
  double value = *degrees;
  if (parts.size() == 2) {
    auto minutes = parse_real(parts[1]);
    if (!minutes || *minutes < 0.0 || *minutes >= 60.0 || value < 0.0) return std::nullopt;
    value += *minutes / 60.0;
  }
  value *= sign;
  if (value < -limit || value > limit) return std::nullopt;
  return value;
}

StationHeader parse_station_header(std::istream& recording) {
  StationHeader header;
  for (std::string line; std::getline(recording, line);) {
    if (line.empty() || (line[0] != '#' && line[0] != '*')) break;
    take_line(trimmed(line.substr(1)), header);
  }
  return header;
}

StationHeader read_station_header() {
  std::istringstream recording(store.recording_header);
  return parse_station_header(recording);
}

}  // namespace veka
