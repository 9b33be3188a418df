#include "export/utc_time.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "common/numbers.h"

namespace veka {

namespace {

std::tm calendar_of(int64_t seconds) {
  std::time_t time = static_cast<std::time_t>(seconds);
  std::tm fields{};
  gmtime_r(&time, &fields);
  return fields;
}

}  // namespace

std::optional<CivilDate> civil_date(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) {
    return std::nullopt;
  }
  CivilDate date{year, month, day};
  // The calendar turns 2023-02-30 into 2023-03-02; such a date is none.
  std::tm fields = calendar_of(static_cast<int64_t>(seconds_since_epoch(date)));
  if (fields.tm_mday != day || fields.tm_mon + 1 != month) return std::nullopt;
  return date;
}

double seconds_since_epoch(const CivilDate& date) {
  std::tm fields{};
  fields.tm_year = date.year - 1900;
  fields.tm_mon = date.month - 1;
  fields.tm_mday = date.day;
  return static_cast<double>(timegm(&fields));
}

std::string iso_date(const CivilDate& date) {
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
  return text;
}

std::string iso_date_time(double seconds, int decimals, char separator) {
  // Milliseconds are rounded first, so that 59.9996 s carries into the
  // next minute instead of printing as 60.000.
  double scale = decimals > 0 ? 1000.0 : 1.0;
  double units = std::nearbyint(seconds * scale);
  int64_t whole = static_cast<int64_t>(std::floor(units / scale));
  int64_t fraction = static_cast<int64_t>(units - static_cast<double>(whole) * scale);
  std::tm f = calendar_of(whole);
  char text[48];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d%c%02d:%02d:%02d", f.tm_year + 1900, f.tm_mon + 1,
                f.tm_mday, separator, f.tm_hour, f.tm_min, f.tm_sec);
  std::string result = text;
  if (decimals > 0) {
    std::snprintf(text, sizeof text, ".%03d", static_cast<int>(fraction));
    result += text;
  }
  return result;
}

std::string iso_time_of_day(double seconds) {
  return iso_date_time(seconds).substr(11);
}

int64_t creation_time() {
  if (const char* fixed = std::getenv("SOURCE_DATE_EPOCH")) {
    if (auto seconds = parse_real(fixed)) return static_cast<int64_t>(*seconds);
  }
  return static_cast<int64_t>(std::time(nullptr));
}

}  // namespace veka
