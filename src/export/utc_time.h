// Dates and times in UTC as the exports write them: ISO 8601 texts for ODV
// and the netCDF attributes, seconds since 1970-01-01 00:00:00 UTC for the
// netCDF time coordinates, and the moment the files are made.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace veka {

struct CivilDate {
  int year;
  int month;  // 1..12
  int day;    // 1..31
};

// The date when y-m-d is one of the (proleptic Gregorian) calendar.
std::optional<CivilDate> civil_date(int year, int month, int day);

// Seconds since 1970-01-01 00:00:00 UTC of midnight at the start of `date`.
double seconds_since_epoch(const CivilDate& date);

// "2023-08-23"
std::string iso_date(const CivilDate& date);

// The moment `seconds` after 1970-01-01 00:00:00 UTC as "2023-08-23T17:51:29"
// with `decimals` (0 or 3) decimals of the second; `separator` stands
// between date and time.
std::string iso_date_time(double seconds, int decimals = 0, char separator = 'T');

// "17:51:29": a time of day given in seconds after midnight.
std::string iso_time_of_day(double seconds);

// Seconds since 1970-01-01 00:00:00 UTC of this run's files: the
// environment's SOURCE_DATE_EPOCH when it holds a number (so that files
// made twice are the same), the clock otherwise.
int64_t creation_time();

}  // namespace veka
