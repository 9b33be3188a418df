#include "export/odv_file.h"
#include "export/step_table.h"
#include "export_fixture.h"

namespace veka {

namespace {

class ExportOdvTest : public ExportFixture {
 protected:
  std::vector<std::string> written() {
    write_odv_file(read_station_header());
    return lines_of(testing::read_file(scratch("out/W7_r1_ODV.txt")));
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
  std::vector<std::string> first(header.begin(), header.begin() + 8);
  EXPECT_EQ(first, (std::vector<std::string>{"Cruise", "Station", "Type", "yyyy-mm-ddThh:mm:ss.sss",
                                             "Longitude [degrees_east]", "Latitude [degrees_north]",
                                             "Bot. Depth [m]", "Depth [m]"}));
  EXPECT_EQ(header.size(), 8 + step_quantities().size());
  for (size_t c = 8; c < header.size(); ++c) {
    EXPECT_EQ(header[c].back(), ']') << header[c];
  }
  ASSERT_EQ(lines.size(), h + 1 + 100);  // one row per step 5..104
  std::vector<std::string> row = cells_of(lines[h + 1]);
  ASSERT_EQ(row.size(), header.size());
  EXPECT_EQ(std::vector<std::string>(row.begin(), row.begin() + 8),
            (std::vector<std::string>{"W", "7", "C", "2023-08-23T17:51:29", "-66.41817", "43.25767",
                                      "174", "5"}));
  EXPECT_EQ(row[column(header, "Temperature [degC]")], "15.25");
  EXPECT_EQ(row[column(header, "Conductivity [mS/cm]")], "41.5");
  EXPECT_EQ(cells_of(lines.back())[7], "104");
}

TEST_F(ExportOdvTest, StepsWithoutReadingsGiveEmptyCells) {
  std::vector<std::string> lines = written();  // no recording: no station metadata
  size_t h = header_index(lines);
  std::vector<std::string> header = cells_of(lines[h]);
  std::vector<std::string> no_samples = cells_of(lines[h + 1 + kNoSamples - kFirstStep]);
  std::vector<std::string> no_water = cells_of(lines[h + 1 + kNoWater - kFirstStep]);
  EXPECT_EQ(no_samples[3] + no_samples[4] + no_samples[5] + no_samples[6], "");
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

TEST_F(ExportOdvTest, TimeIntervalsAreLocatedByElapsedTime) {
  use_time_intervals();  // intervals of 2 s
  std::vector<std::string> lines = written();
  size_t h = header_index(lines);
  EXPECT_NE(testing::read_file(scratch("out/W7_r1_ODV.txt")).find("<DataType>TimeSeries<"),
            std::string::npos);
  EXPECT_EQ(cells_of(lines[h])[7], "Elapsed time [s]");
  EXPECT_EQ(cells_of(lines[h + 1])[7], "9");                   // the middle of interval 5
  EXPECT_EQ(lines[h].find("Temperature"), std::string::npos);  // no CTD line is read
  EXPECT_EQ(lines[h].find("CTD samples"), std::string::npos);
  // Every interval counts as 1 m3: plain counts and biomass, no volume.
  EXPECT_NE(lines[h].find("\tCounts 100-250 um [#]\t"), std::string::npos);
  EXPECT_NE(lines[h].find("\tBiomass 100-250 um [mg]\t"), std::string::npos);
  EXPECT_EQ(lines[h].find("Water volume"), std::string::npos);
}

}  // namespace

}  // namespace veka
