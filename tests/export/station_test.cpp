#include "export/station.h"

#include <gtest/gtest.h>

#include <sstream>

#include "store/store.h"

namespace veka {

namespace {

StationHeader parsed(const std::string& text) {
  std::istringstream in(text);
  return parse_station_header(in);
}

TEST(ExportStationHeader, ReadsTheDeckLogLinesOfTheRecording) {
  StationHeader h = parsed(
      "# VEKA counter recording, cruise VK23-04, station 049\r\n"
      "* Instrument        VEKA counter s/n 0417 on CTD frame\r\n"
      "* Cruise            VK23-04\r\n"
      "* Station           049\r\n"
      "* Date              2023-08-23\r\n"
      "* Time (UTC)        17:51:29\r\n"
      "*   Lat    43 15.46 N\r\n"
      "*   Lon    066 25.09 W\r\n"
      "* Lamp              LED 880 nm, level 3000\r\n"
      "* Bottom depth      174 m\r\n"
      "C 0.463 38.151 15.119 31.029 0.345\r\n"
      "* Date              1999-01-01\r\n");
  EXPECT_EQ(h.cruise, "VK23-04");
  EXPECT_EQ(h.station, "049");
  EXPECT_EQ(h.date_time(), "2023-08-23T17:51:29");  // the line after the data is not header
  ASSERT_TRUE(h.latitude && h.longitude && h.bottom_depth);
  EXPECT_DOUBLE_EQ(*h.latitude, 43 + 15.46 / 60);
  EXPECT_DOUBLE_EQ(*h.longitude, -(66 + 25.09 / 60));
  EXPECT_DOUBLE_EQ(*h.bottom_depth, 174.0);
}

TEST(ExportStationHeader, LeavesEmptyWhatIsMissingOrUnreadable) {
  StationHeader h = parsed(
      "# recording\n"
      "* Date              23.08.2023\n"
      "* Time (UTC)        17:51:29\n"
      "*   Lat    somewhere north\n"
      "*   Lon    066 25.09 N\n"
      "* Bottom depth      unknown\n"
      "* Latitude notes    none\n");
  EXPECT_EQ(h.date_time(), "");  // a time without a date says nothing
  EXPECT_FALSE(h.latitude);
  EXPECT_FALSE(h.longitude);  // N is no hemisphere of a longitude
  EXPECT_FALSE(h.bottom_depth);
  EXPECT_EQ(parsed("").date_time(), "");
  StationHeader date_only = parsed("* Date 2023-08-23\n");
  EXPECT_EQ(date_only.date_time(), "2023-08-23");
}

TEST(ExportStationHeader, ComesFromTheHeaderKeptInTheStore) {
  store.recording_header = "# recording\n*   Lat    43 15.46 N\n";
  EXPECT_NEAR(*read_station_header().latitude, 43.2577, 1e-4);
  reset_store();
  EXPECT_FALSE(read_station_header().latitude);
}

TEST(ExportStationHeader, PositionsInDegreesAndMinutesOrDecimalDegrees) {
  EXPECT_DOUBLE_EQ(*parse_position("12 30.00 S", 'N', 'S', 90), -12.5);
  EXPECT_DOUBLE_EQ(*parse_position("-12.25", 'N', 'S', 90), -12.25);
  EXPECT_DOUBLE_EQ(*parse_position("179 59.4 e", 'E', 'W', 180), 179.99);
  EXPECT_FALSE(parse_position("95 00.00 N", 'N', 'S', 90));   // beyond the pole
  EXPECT_FALSE(parse_position("43 61.00 N", 'N', 'S', 90));   // minutes run to 60
  EXPECT_FALSE(parse_position("-43 10.00 N", 'N', 'S', 90));  // sign and minutes mixed
  EXPECT_FALSE(parse_position("43 15 20 N", 'N', 'S', 90));   // seconds are not read
  EXPECT_FALSE(parse_position("N", 'N', 'S', 90));
}

}  // namespace

}  // namespace veka
