#include "export/station.h"

#include <gtest/gtest.h>

#include <sstream>

#include "store/store.h"

namespace veka {

namespace {

Station parsed(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return parse_station_header(lines);
}

struct HeaderStyle {
  const char* name;
  const char* header;
  const char* cruise;
  const char* station;
  const char* date_time;
  double latitude;
  double longitude;
  double bottom_depth;
};

const HeaderStyle kStyles[] = {
    {"columns, as the simulator writes them",
     "# VEKA counter recording, cruise VK23-04, station 049\n"
     "* Instrument        VEKA counter s/n 0417 on CTD frame\n"
     "* Cruise            VK23-04\n"
     "* Station           049\n"
     "* Date              2023-08-23\n"
     "* Time (UTC)        17:51:29\n"
     "*   Lat    43 15.46 N\n"
     "*   Lon    066 25.09 W\n"
     "* Lamp              LED 880 nm, level 3000\n"
     "* Bottom depth      174 m\n",
     "VK23-04", "049", "2023-08-23T17:51:29", 43 + 15.46 / 60, -(66 + 25.09 / 60), 174},
    {"colons, degree signs and units in the label",
     "** Cruise ID: MSM-112\n"
     "** Stn: 17\n"
     "** Date (UTC): 2023/08/23\n"
     "** Start time (UTC): 17:51Z\n"
     "** Latitude: 43\u00b015.46'N\n"
     "** Longitude: 066\u00b025.09'W\n"
     "** Water depth (m): 174.5\n",
     "MSM-112", "17", "2023-08-23T17:51:00", 43 + 15.46 / 60, -(66 + 25.09 / 60), 174.5},
    {"a logging program's NMEA lines with equals signs",
     "* NMEA Latitude = 43 15.46 N\n"
     "* NMEA Longitude = 066 25.09 W\n"
     "* NMEA UTC (Time) = Aug 23 2023 17:51:29\n"
     "** Expedition = PS-140\n"
     "** Station = 017\n",
     "PS-140", "017", "2023-08-23T17:51:29", 43 + 15.46 / 60, -(66 + 25.09 / 60), -1},
    {"signed decimal degrees and a day-first date",
     "# cruise name  AT-50\n"
     "# STATION NUMBER 3\n"
     "# Date 23.08.2023\n"
     "# Time 17:51:29 UTC\n"
     "# Lat -43.2577\n"
     "# Long 66.4182\n"
     "# Depth of water 80m\n",
     "AT-50", "3", "2023-08-23T17:51:29", -43.2577, 66.4182, 80},
    {"one start line with date and time, hemisphere letters in front",
     "* Start (UTC)  2023-08-23T17:51:29Z\n"
     "* Lat  N43 15.46\n"
     "* Lon  W066 25.09\n",
     "", "", "2023-08-23T17:51:29", 43 + 15.46 / 60, -(66 + 25.09 / 60), -1},
};

TEST(ExportStationHeader, ReadsTheStationLinesOfSeveralHeaderStyles) {
  for (const HeaderStyle& style : kStyles) {
    Station s = parsed(style.header);
    SCOPED_TRACE(style.name);
    EXPECT_EQ(s.cruise, style.cruise);
    EXPECT_EQ(s.station, style.station);
    EXPECT_EQ(s.date_time(), style.date_time);
    ASSERT_TRUE(s.latitude && s.longitude);
    EXPECT_NEAR(*s.latitude, style.latitude, 1e-12);
    EXPECT_NEAR(*s.longitude, style.longitude, 1e-12);
    EXPECT_EQ(s.bottom_depth.value_or(-1), style.bottom_depth);
  }
}

TEST(ExportStationHeader, LeavesOutWhatIsMissingOrUnreadable) {
  Station h = parsed(
      "# recording\n"
      "* Date              2023-02-30\n"  // no such day
      "* Time zone         UTC+1\n"
      "* Time (UTC)        25:51:29\n"
      "*   Lat    somewhere north\n"
      "*   Lon    066 25.09 N\n"
      "* Bottom depth      unknown\n"
      "* Latitude notes    none\n"
      "* Timestamp         2023-08-23\n");
  EXPECT_EQ(h.date_time(), "");
  EXPECT_FALSE(h.time_of_day);
  EXPECT_FALSE(h.latitude);
  EXPECT_FALSE(h.longitude);  // N is no hemisphere of a longitude
  EXPECT_FALSE(h.bottom_depth);
  EXPECT_EQ(parsed("* Date 2023-08-23\n* Date 1999-01-01\n").date_time(), "2023-08-23");
}

TEST(ExportStationHeader, PositionsInDegreesAndMinutesOrDecimalDegrees) {
  EXPECT_DOUBLE_EQ(*parse_position("12 30.00 S", 'N', 'S', 90), -12.5);
  EXPECT_DOUBLE_EQ(*parse_position("-12.25", 'N', 'S', 90), -12.25);
  EXPECT_DOUBLE_EQ(*parse_position("179 59.4 e", 'E', 'W', 180), 179.99);
  EXPECT_DOUBLE_EQ(*parse_position("12\u00b030.00'S", 'N', 'S', 90), -12.5);
  EXPECT_DOUBLE_EQ(*parse_position("S12 30", 'N', 'S', 90), -12.5);
  EXPECT_FALSE(parse_position("95 00.00 N", 'N', 'S', 90));   // beyond the pole
  EXPECT_FALSE(parse_position("43 61.00 N", 'N', 'S', 90));   // minutes run to 60
  EXPECT_FALSE(parse_position("-43 10.00 N", 'N', 'S', 90));  // sign and letter mixed
  EXPECT_FALSE(parse_position("-43.2 S", 'N', 'S', 90));
  EXPECT_FALSE(parse_position("43 15 20 N", 'N', 'S', 90));  // seconds are not read
  EXPECT_FALSE(parse_position("N", 'N', 'S', 90));
}

TEST(ExportStation, SettingsOverTheHeaderAndStandInsForWhatNeitherNames) {
  Station header = parsed("* Cruise VK23-04\n* Date 2023-08-23\n* Time 17:51:29\n* Lat 43.5\n");
  StationSettings settings;
  settings.latitude = -10.0;
  settings.longitude = 20.0;
  Station s = resolve_station(header, settings, "VK", 7);
  EXPECT_EQ(s.profile_id(), "VK23-04_7");
  EXPECT_EQ(s.latitude, -10.0);
  EXPECT_EQ(s.utc_seconds(), 1692813089.0);  // 2023-08-23 17:51:29 UTC
  EXPECT_EQ(station_notes(s),
            (std::vector<std::string>{
                "From the recording's header: cruise, date and time.",
                "From the run's settings: latitude and longitude.",
                "Stand-ins: station = file number 7, as neither the recording's header nor the "
                "settings name them.",
                "Not known: water depth."}));
  Station none = resolve_station(parsed(""), {}, "VK", 3);
  EXPECT_EQ(none.profile_id(), "VK_3");
  EXPECT_EQ(station_notes(none).back(),
            "Not known: date, time, latitude, longitude and water depth (the settings --time, "
            "--lat and --lon give date, time and position).");
}

}  // namespace

}  // namespace veka
