#include "export/station.h"

#include <cctype>
#include <sstream>

#include "common/numbers.h"

namespace veka {

namespace {

constexpr double kSecondsPerHour = 3600.0;
constexpr double kSecondsPerMinute = 60.0;

struct Label {
  const char* text;  // lower case
  StationField field;
};

// Where one label starts another ("Lat" and "Latitude"), the longer comes
// first.
const Label kLabels[] = {
    {"cruise id", kCruise},
    {"cruise name", kCruise},
    {"cruise", kCruise},
    {"expedition", kCruise},
    {"station number", kStation},
    {"station id", kStation},
    {"station", kStation},
    {"stn", kStation},
    {"date (utc)", kDate},
    {"date", kDate},
    {"nmea utc (time)", kTime},
    {"start time (utc)", kTime},
    {"start time", kTime},
    {"start (utc)", kTime},
    {"time (utc)", kTime},
    {"time", kTime},
    {"nmea latitude", kLatitude},
    {"latitude", kLatitude},
    {"lat", kLatitude},
    {"nmea longitude", kLongitude},
    {"longitude", kLongitude},
    {"long", kLongitude},
    {"lon", kLongitude},
    {"bottom depth (m)", kBottomDepth},
    {"bottom depth", kBottomDepth},
    {"water depth (m)", kBottomDepth},
    {"water depth", kBottomDepth},
    {"depth of water (m)", kBottomDepth},
    {"depth of water", kBottomDepth},
};

const char* const kFieldNames[kStationFields] = {"cruise",   "station",   "date",       "time",
                                                 "latitude", "longitude", "water depth"};

const char* const kMonths[] = {"jan", "feb", "mar", "apr", "may", "jun",
                               "jul", "aug", "sep", "oct", "nov", "dec"};

bool is_blank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

std::string trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  size_t last = text.find_last_not_of(" \t\r");
  return text.substr(first, last - first + 1);
}

std::string lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::vector<std::string> words_of(const std::string& text) {
  std::istringstream in(text);
  std::vector<std::string> words;
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool all_digits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

std::optional<int> number_of(const std::string& text) {
  if (!all_digits(text) || text.size() > 4) return std::nullopt;
  return std::stoi(text);
}

// "a, b and c"
std::string listed(const std::vector<std::string>& items) {
  std::string text;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += i + 1 == items.size() ? " and " : ", ";
    text += items[i];
  }
  return text;
}

// --- Dates and times ------------------------------------------------------

// "2023-08-23", "2023/08/23" or "23.08.2023".
std::optional<CivilDate> numeric_date(const std::string& word) {
  for (char separator : {'-', '/', '.'}) {
    size_t first = word.find(separator);
    size_t second = first == std::string::npos ? first : word.find(separator, first + 1);
    if (second == std::string::npos || word.find(separator, second + 1) != std::string::npos) {
      continue;
    }
    auto a = number_of(word.substr(0, first));
    auto b = number_of(word.substr(first + 1, second - first - 1));
    auto c = number_of(word.substr(second + 1));
    if (!a || !b || !c) return std::nullopt;
    if (separator == '.') return civil_date(*c, *b, *a);
    if (word.substr(0, first).size() != 4) return std::nullopt;
    return civil_date(*a, *b, *c);
  }
  return std::nullopt;
}

std::optional<int> month_of(const std::string& word) {
  if (word.size() < 3) return std::nullopt;
  std::string start = lower(word.substr(0, 3));
  for (int m = 0; m < 12; ++m) {
    if (start == kMonths[m]) return m + 1;
  }
  return std::nullopt;
}

// "Aug 23 2023" or "23 Aug 2023" from words[at]; `used` words.
std::optional<CivilDate> named_month_date(const std::vector<std::string>& words, size_t at,
                                          size_t& used) {
  if (at + 3 > words.size()) return std::nullopt;
  auto year = number_of(words[at + 2]);
  if (!year) return std::nullopt;
  auto month = month_of(words[at]);
  auto day = number_of(words[at + 1]);
  if (!month || !day) {
    month = month_of(words[at + 1]);
    day = number_of(words[at]);
  }
  if (!month || !day) return std::nullopt;
  used = 3;
  return civil_date(*year, *month, *day);
}

// "17:51:29", "17:51", "17:51:29.5", each with an optional "Z".
std::optional<double> time_of_day(std::string word) {
  if (!word.empty() && (word.back() == 'Z' || word.back() == 'z')) word.pop_back();
  std::vector<std::string> parts;
  std::istringstream in(word);
  for (std::string part; std::getline(in, part, ':');) parts.push_back(part);
  if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
  auto hours = number_of(parts[0]);
  auto minutes = number_of(parts[1]);
  if (!hours || !minutes || parts[1].size() != 2 || *hours > 23 || *minutes > 59) {
    return std::nullopt;
  }
  double seconds = 0.0;
  if (parts.size() == 3) {
    auto s = parse_real(parts[2]);
    if (!s || parts[2].size() < 2 || !std::isdigit(static_cast<unsigned char>(parts[2][0])) ||
        *s >= 60.0) {
      return std::nullopt;
    }
    seconds = *s;
  }
  return *hours * kSecondsPerHour + *minutes * kSecondsPerMinute + seconds;
}

// --- Positions and depths -------------------------------------------------

// Degree signs, minute and second marks and colons become blanks.
std::string position_words(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == 0xC2 && i + 1 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) == 0xB0 ||
         static_cast<unsigned char>(text[i + 1]) == 0xBA)) {
      out += ' ';
      ++i;
    } else if (c == 0xB0 || c == '\'' || c == '"' || c == ':') {
      out += ' ';
    } else {
      out += text[i];
    }
  }
  return out;
}

// Takes a hemisphere letter off the front or the back of the words, alone
// or attached to a number ("N43", "15.46N").
std::optional<char> take_hemisphere(std::vector<std::string>& words) {
  if (words.empty()) return std::nullopt;
  auto letter_at = [](const std::string& word, size_t i) {
    return std::isalpha(static_cast<unsigned char>(word[i])) != 0;
  };
  std::string& last = words.back();
  if (letter_at(last, last.size() - 1)) {
    char h = static_cast<char>(std::toupper(static_cast<unsigned char>(last.back())));
    last.pop_back();
    if (last.empty()) words.pop_back();
    return h;
  }
  std::string& first = words.front();
  if (letter_at(first, 0)) {
    char h = static_cast<char>(std::toupper(static_cast<unsigned char>(first[0])));
    first.erase(0, 1);
    if (first.empty()) words.erase(words.begin());
    return h;
  }
  return std::nullopt;
}

std::optional<double> water_depth(const std::string& value) {
  std::vector<std::string> words = words_of(value);
  if (words.empty()) return std::nullopt;
  std::string number = words[0];
  if (number.size() > 1 && (number.back() == 'm' || number.back() == 'M')) number.pop_back();
  auto depth = parse_real(number);
  if (depth && *depth > 0.0) return depth;
  return std::nullopt;
}

// --- Header lines ---------------------------------------------------------

// The value after `label` when the line's text starts with it as a word.
std::optional<std::string> labelled_value(const std::string& body, const std::string& label) {
  if (lower(body.substr(0, label.size())) != label) return std::nullopt;
  size_t at = label.size();
  if (at < body.size() && !is_blank(body[at]) && body[at] != ':' && body[at] != '=' &&
      body[at] != '.') {
    return std::nullopt;
  }
  while (at < body.size() &&
         (is_blank(body[at]) || body[at] == ':' || body[at] == '=' || body[at] == '.')) {
    ++at;
  }
  return trimmed(body.substr(at));
}

void set_text(Station& s, StationField field, const std::string& value) {
  if (value.empty() || s.origin[field] != Origin::none) return;
  (field == kCruise ? s.cruise : s.station) = value;
  s.origin[field] = Origin::header;
}

void set_number(Station& s, StationField field, std::optional<double>& target,
                const std::optional<double>& value) {
  if (!value || s.origin[field] != Origin::none) return;
  target = value;
  s.origin[field] = Origin::header;
}

void set_date_and_time(Station& s, const DateAndTime& value) {
  if (value.date && s.origin[kDate] == Origin::none) {
    s.date = value.date;
    s.origin[kDate] = Origin::header;
  }
  set_number(s, kTime, s.time_of_day, value.time_of_day);
}

void take_line(const std::string& body, Station& s) {
  for (const Label& label : kLabels) {
    auto value = labelled_value(body, label.text);
    if (!value) continue;
    switch (label.field) {
      case kCruise:
      case kStation:
        set_text(s, label.field, *value);
        break;
      case kDate:
      case kTime:
        set_date_and_time(s, parse_date_and_time(*value));
        break;
      case kLatitude:
        set_number(s, kLatitude, s.latitude, parse_position(*value, 'N', 'S', 90.0));
        break;
      case kLongitude:
        set_number(s, kLongitude, s.longitude, parse_position(*value, 'E', 'W', 180.0));
        break;
      case kBottomDepth:
        set_number(s, kBottomDepth, s.bottom_depth, water_depth(*value));
        break;
    }
    return;
  }
}

// The names of the fields with `origin`.
std::vector<std::string> fields_from(const Station& s, Origin origin) {
  std::vector<std::string> names;
  for (int f = 0; f < kStationFields; ++f) {
    if (s.origin[f] == origin) names.push_back(kFieldNames[f]);
  }
  return names;
}

}  // namespace

std::optional<double> Station::utc_seconds() const {
  if (!date || !time_of_day) return std::nullopt;
  return seconds_since_epoch(*date) + *time_of_day;
}

std::string Station::date_time() const {
  if (!date) return "";
  return time_of_day ? iso_date_time(*utc_seconds()) : iso_date(*date);
}

std::string Station::profile_id() const {
  return cruise + "_" + station;
}

bool Station::all_from_header() const {
  for (Origin o : origin) {
    if (o != Origin::header && o != Origin::none) return false;
  }
  return true;
}

DateAndTime parse_date_and_time(const std::string& text) {
  std::vector<std::string> words = words_of(text);
  DateAndTime result;
  size_t at = 0;
  if (at < words.size()) {
    std::string word = words[at];
    size_t t = word.find_first_of("Tt");
    std::string date_part = t == std::string::npos ? word : word.substr(0, t);
    size_t used = 0;
    if (auto date = numeric_date(date_part)) {
      result.date = date;
      if (t != std::string::npos) {
        result.time_of_day = time_of_day(word.substr(t + 1));
        if (!result.time_of_day) return {};
        return result;
      }
      used = 1;
    } else {
      result.date = named_month_date(words, at, used);
    }
    at += used;
  }
  if (at < words.size()) result.time_of_day = time_of_day(words[at]);
  return result;
}

std::optional<double> parse_position(const std::string& text, char positive, char negative,
                                     double limit) {
  std::vector<std::string> parts = words_of(position_words(text));
  double sign = 1.0;
  if (auto hemisphere = take_hemisphere(parts)) {
    if (*hemisphere != positive && *hemisphere != negative) return std::nullopt;
    sign = *hemisphere == negative ? -1.0 : 1.0;
    if (!parts.empty() && parts[0][0] == '-') return std::nullopt;  // a sign and a letter
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

Station parse_station_header(const std::vector<std::string>& header_lines) {
  Station station;
  for (const std::string& line : header_lines) {
    size_t body = line.find_first_not_of("#* \t");
    if (body != std::string::npos) take_line(line.substr(body), station);
  }
  return station;
}

Station resolve_station(Station s, const StationSettings& settings, const std::string& data_set,
                        int file_number) {
  auto put_text = [&s](StationField field, std::string& target, const std::string& value) {
    if (value.empty()) return;
    target = value;
    s.origin[field] = Origin::settings;
  };
  auto put = [&s](StationField field, auto& target, const auto& value) {
    if (!value) return;
    target = value;
    s.origin[field] = Origin::settings;
  };
  put_text(kCruise, s.cruise, settings.cruise);
  put_text(kStation, s.station, settings.station);
  put(kDate, s.date, settings.date);
  put(kTime, s.time_of_day, settings.time_of_day);
  put(kLatitude, s.latitude, settings.latitude);
  put(kLongitude, s.longitude, settings.longitude);
  if (s.cruise.empty()) {
    s.cruise = data_set;
    s.origin[kCruise] = Origin::stand_in;
  }
  if (s.station.empty()) {
    s.station = std::to_string(file_number);
    s.origin[kStation] = Origin::stand_in;
  }
  return s;
}

std::vector<std::string> station_notes(const Station& s) {
  std::vector<std::string> notes;
  if (auto names = fields_from(s, Origin::header); !names.empty()) {
    notes.push_back("From the recording's header: " + listed(names) + ".");
  }
  if (auto names = fields_from(s, Origin::settings); !names.empty()) {
    notes.push_back("From the run's settings: " + listed(names) + ".");
  }
  std::vector<std::string> stand_ins;
  if (s.origin[kCruise] == Origin::stand_in)
    stand_ins.push_back("cruise = data set name " + s.cruise);
  if (s.origin[kStation] == Origin::stand_in) {
    stand_ins.push_back("station = file number " + s.station);
  }
  if (!stand_ins.empty()) {
    notes.push_back("Stand-ins: " + listed(stand_ins) +
                    ", as neither the recording's header nor the settings name them.");
  }
  if (auto names = fields_from(s, Origin::none); !names.empty()) {
    bool settable = s.origin[kDate] == Origin::none || s.origin[kTime] == Origin::none ||
                    s.origin[kLatitude] == Origin::none || s.origin[kLongitude] == Origin::none;
    notes.push_back("Not known: " + listed(names) +
                    (settable ? " (the settings --time, --lat and --lon give date, time and "
                                "position)."
                              : "."));
  }
  return notes;
}

}  // namespace veka
