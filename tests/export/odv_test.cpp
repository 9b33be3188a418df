#include "export/odv_file.h"
#include "export/step_table.h"
#include "export_fixture.h"

namespace veka {

namespace {

class ExportOdvTest : public ExportFixture {
 protected:
  std::vector<std::string> written(int width = 1) {
    write_odv_file(profile(width));
    return lines_of(support::read_file(scratch("out/W7_r1_ODV.txt")));
  }
  // The header line, after the "//" comments.
  static size_t header_index(const std::vector<std::string>& lines) {
    size_t i = 0;
    while (i < lines.size() && lines[i].rfind("//", 0) == 0) ++i;
    return i;
  }
  static size_t column(const std::vector<std::string>& header, const std::string& name) {
    auto at = std::find(header.begin(), header.end(), name);
    EXPECT_NE(at, header.end()) << name;
    return at - header.begin();
  }
  static std::vector<std::string> first_cells(const std::string& line, size_t n) {
    std::vector<std::string> cells = cells_of(line);
    return std::vector<std::string>(cells.begin(), cells.begin() + n);
  }
};

TEST_F(ExportOdvTest, MetadataColumnsThenDepthThenEveryQuantityWithItsUnit) {
  write_recording_header();
  store.report_profile[5][kCtdTemperature] = 15.25;
  store.report_profile[5][kCtdConductivity] = 41.5;
  std::vector<std::string> lines = written();
  size_t h = header_index(lines);
  ASSERT_GT(h, 0u);
  EXPECT_EQ(lines[0], "//ODV Spreadsheet V4.0");
  std::vector<std::string> header = cells_of(lines[h]);
  EXPECT_EQ(first_cells(lines[h], 8),
            (std::vector<std::string>{"Cruise", "Station", "Type", "yyyy-mm-ddThh:mm:ss.sss",
                                      "Longitude [degrees_east]", "Latitude [degrees_north]",
                                      "Bot. Depth [m]", "Depth [m]"}));
  EXPECT_EQ(header.size(), 8 + step_quantities({}).size());
  for (size_t c = 8; c < header.size(); ++c) {
    EXPECT_EQ(header[c].back(), ']') << header[c];
  }
  ASSERT_EQ(lines.size(), h + 1 + 100);  // one row per step 5..104
  std::vector<std::string> row = cells_of(lines[h + 1]);
  ASSERT_EQ(row.size(), header.size());
  EXPECT_EQ(first_cells(lines[h + 1], 8),
            (std::vector<std::string>{"VK23-04", "049", "C", "2023-08-23T17:51:29", "-66.41817",
                                      "43.25767", "174", "5"}));
  EXPECT_EQ(row[column(header, "Temperature [degC]")], "15.25");
  EXPECT_EQ(row[column(header, "Conductivity [mS/cm]")], "41.5");
  EXPECT_EQ(cells_of(lines.back())[7], "104");
  EXPECT_NE(std::find(lines.begin(), lines.end(),
                      "//From the recording's header: cruise, station, date, time, latitude, "
                      "longitude and water depth."),
            lines.end());
}

TEST_F(ExportOdvTest, WithoutStationLinesDataSetAndFileNumberStandInAndTheFileSaysSo) {
  std::vector<std::string> lines = written();  // no recording: no station lines
  size_t h = header_index(lines);
  EXPECT_EQ(first_cells(lines[h + 1], 8),
            (std::vector<std::string>{"W", "7", "C", "", "", "", "", "5"}));
  std::vector<std::string> comments(lines.begin(), lines.begin() + h);
  EXPECT_EQ(std::vector<std::string>(comments.end() - 2, comments.end()),
            (std::vector<std::string>{
                "//Stand-ins: cruise = data set name W and station = file number 7, as neither "
                "the recording's header nor the settings name them.",
                "//Not known: date, time, latitude, longitude and water depth (the settings "
                "--time, --lat and --lon give date, time and position)."}));
}

TEST_F(ExportOdvTest, StepsWithoutReadingsGiveEmptyCells) {
  std::vector<std::string> lines = written();
  size_t h = header_index(lines);
  std::vector<std::string> header = cells_of(lines[h]);
  std::vector<std::string> no_samples = cells_of(lines[h + 1 + kNoSamples - kFirstStep]);
  std::vector<std::string> no_water = cells_of(lines[h + 1 + kNoWater - kFirstStep]);
  EXPECT_EQ(no_samples[column(header, "CTD samples [count]")], "0");
  EXPECT_EQ(no_samples[column(header, "Temperature [degC]")], "");
  EXPECT_EQ(no_samples[column(header, "Analog 1 [V]")], "");
  EXPECT_NE(no_samples[column(header, "Count conc. 100-250 um [#/m^3]")], "");
  EXPECT_EQ(no_water[column(header, "Count conc. 100-250 um [#/m^3]")], "");
  EXPECT_EQ(no_water[column(header, "Biomass conc. 100-2500 um [mg/m^3]")], "");
  EXPECT_EQ(no_water[column(header, "Water volume [m^3]")], "0");
  EXPECT_NE(no_water[column(header, "Temperature [degC]")], "");
}

TEST_F(ExportOdvTest, OnlyTheCtdFieldsOfTheRunAreColumns) {
  arguments_[15] = "x";  // no salinity
  arguments_[17] = "A3";
  prepare_file(7);
  std::vector<std::string> lines = written();
  std::string header = lines[header_index(lines)];
  EXPECT_EQ(header.find("Salinity"), std::string::npos);
  EXPECT_NE(header.find("Analog 1 [V]"), std::string::npos);
  EXPECT_NE(header.find("Analog 3 [V]"), std::string::npos);
  EXPECT_EQ(header.find("Analog 2"), std::string::npos);
}

// Steps 5..104 in the reports' bins: 5..5 is alone in bin 1..5, 6..10 is
// the second, and 101..104 the last.
TEST_F(ExportOdvTest, BinsAreMeansOverTheReportsBinsAndSumsOfVolumes) {
  std::vector<std::string> lines = written(5);
  size_t h = header_index(lines);
  std::vector<std::string> header = cells_of(lines[h]);
  ASSERT_EQ(lines.size(), h + 1 + 21);
  std::vector<std::string> second = cells_of(lines[h + 2]);
  EXPECT_EQ(second[7], "8");  // the middle of 5.5..10.5 m
  double conc = 0.0;
  for (int k = 6; k <= 10; ++k) conc += store.range_conc[k][2];
  EXPECT_EQ(second[column(header, "Count conc. 250-500 um [#/m^3]")], export_number(conc / 5));
  EXPECT_EQ(second[column(header, "Water volume [m^3]")], export_number(5 * 0.004));
  EXPECT_EQ(cells_of(lines[h + 1])[7], "5");
  EXPECT_EQ(cells_of(lines.back())[7], "102.5");  // 100.5..104.5 m
  // Step 60 has no water: its cell averages the other four steps.
  std::vector<std::string> with_gap = cells_of(lines[h + 1 + 11]);  // steps 56..60
  conc = 0.0;
  for (int k = 56; k <= 59; ++k) conc += store.range_conc[k][2];
  EXPECT_EQ(with_gap[column(header, "Count conc. 250-500 um [#/m^3]")], export_number(conc / 4));
}

TEST_F(ExportOdvTest, TimeIntervalsCarryTheirOwnTimeAndTheCtdOfTheRecording) {
  use_time_intervals();  // intervals of 2 s from count 100
  write_recording(
      "* Date 2023-08-23\r\n* Time 17:51:29\r\nL5 0 0 96 0 0 0 0\r\n"
      "L5 0 0 100 0 0 0 0\r\nL5 0 0 116 0 0 0 0\r\nC 10.0 40.0 12.0 31.0 0.5\r\n"
      "L5 0 0 120 0 0 0 0\r\nL5 0 0 124 0 0 0 0\r\nC 11.0 41.0 13.0 32.0 0.5\r\n");
  std::vector<std::string> lines = written();
  size_t h = header_index(lines);
  std::vector<std::string> header = cells_of(lines[h]);
  EXPECT_NE(support::read_file(scratch("out/W7_r1_ODV.txt")).find("<DataType>TimeSeries<"),
            std::string::npos);
  EXPECT_EQ(header[7], "time_ISO8601 [yyyy-mm-ddThh:mm:ss.sss]");
  EXPECT_EQ(header[8], "Elapsed time [s]");
  // Interval 5 (counts 116..119) has its middle 9 s after count 100, which
  // is 2 s after the recording's first count 96.
  std::vector<std::string> first = cells_of(lines[h + 1]);
  EXPECT_EQ(first[3], "2023-08-23T17:51:29");
  EXPECT_EQ(first[7], "2023-08-23T17:51:40.000");
  EXPECT_EQ(first[8], "9");
  EXPECT_EQ(first[column(header, "Temperature [degC]")], "12");
  EXPECT_EQ(cells_of(lines[h + 3])[column(header, "Depth [m]")], "11");
  // Every interval counts as 1 m3: plain counts and biomass, no volume.
  EXPECT_NE(lines[h].find("\tCounts 100-250 um [#]\t"), std::string::npos);
  EXPECT_NE(lines[h].find("\tBiomass 100-250 um [mg]\t"), std::string::npos);
  EXPECT_EQ(lines[h].find("Water volume"), std::string::npos);
}

TEST_F(ExportOdvTest, CruiseFileHoldsEveryStationOfTheRun) {
  write_recording_header();
  std::vector<ExportedProfile> run = {profile()};
  prepare_file(8);
  run.push_back(profile());  // W8.dat does not exist: stand-ins
  write_cruise_odv_file(run);
  std::vector<std::string> lines = lines_of(support::read_file(scratch("out/a_ODV_W_r1.txt")));
  size_t h = header_index(lines);
  ASSERT_EQ(lines.size(), h + 1 + 200);
  EXPECT_EQ(first_cells(lines[h + 1], 2), (std::vector<std::string>{"VK23-04", "049"}));
  EXPECT_EQ(first_cells(lines[h + 101], 2), (std::vector<std::string>{"W", "8"}));
}

}  // namespace

}  // namespace veka
