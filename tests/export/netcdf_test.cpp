// The netCDF profile read back through the library.
#include "export/netcdf_profile.h"
#include "export/step_table.h"
#include "export_fixture.h"

#ifdef VEKA_HAVE_NETCDF
#include <netcdf.h>

namespace veka {

namespace {

class ExportNetcdfTest : public ExportFixture {
 protected:
  void SetUp() override {
    ExportFixture::SetUp();
    write_recording_header();
  }
  void write_and_open() {
    write_netcdf_profile(read_station_header(), fit_spectrum(spectrum_table()));
    ASSERT_EQ(nc_open(scratch("out/W7_r1.nc").c_str(), NC_NOWRITE, &id_), NC_NOERR);
  }
  void TearDown() override {
    if (id_ >= 0) nc_close(id_);
  }
  std::string text_attribute(const std::string& variable, const std::string& name) {
    int var = NC_GLOBAL;
    if (!variable.empty() && nc_inq_varid(id_, variable.c_str(), &var) != NC_NOERR) return "?";
    size_t length = 0;
    if (nc_inq_attlen(id_, var, name.c_str(), &length) != NC_NOERR) return "?";
    std::string text(length, ' ');
    nc_get_att_text(id_, var, name.c_str(), text.data());
    return text;
  }
  std::vector<double> values(const std::string& variable, size_t count) {
    int var;
    std::vector<double> out(count);
    EXPECT_EQ(nc_inq_varid(id_, variable.c_str(), &var), NC_NOERR) << variable;
    nc_get_var_double(id_, var, out.data());
    return out;
  }
  size_t dimension(const std::string& name) {
    int dim;
    size_t length = 0;
    if (nc_inq_dimid(id_, name.c_str(), &dim) == NC_NOERR) nc_inq_dimlen(id_, dim, &length);
    return length;
  }
  static constexpr double kFill = NC_FILL_DOUBLE;
  int id_ = -1;
};

TEST_F(ExportNetcdfTest, ProfileOverDepthWithUnitsAndGaps) {
  write_and_open();
  EXPECT_EQ(text_attribute("", "Conventions"), "CF-1.8");
  EXPECT_EQ(text_attribute("", "featureType"), "profile");
  EXPECT_EQ(dimension("depth"), 100u);
  EXPECT_EQ(text_attribute("depth", "positive"), "down");
  EXPECT_EQ(text_attribute("depth", "units"), "m");
  std::vector<double> depth = values("depth", 100);
  EXPECT_EQ(depth.front(), 5.0);
  EXPECT_EQ(depth.back(), 104.0);
  std::vector<double> temperature = values("temperature", 100);
  EXPECT_EQ(temperature[0], store.report_profile[5][kCtdTemperature]);
  EXPECT_EQ(temperature[kNoSamples - kFirstStep], kFill);
  EXPECT_EQ(text_attribute("temperature", "units"), "degree_C");
  EXPECT_EQ(text_attribute("temperature", "standard_name"), "sea_water_temperature");
  std::vector<double> counts = values("count_conc_2", 100);
  EXPECT_EQ(counts[0], store.range_conc[5][2]);
  EXPECT_EQ(counts[kNoWater - kFirstStep], kFill);
  EXPECT_EQ(text_attribute("count_conc_2", "long_name"),
            "number of particles of 250-500 um ESD per volume of water filtered");
  for (const StepQuantity& q : step_quantities()) {
    EXPECT_NE(text_attribute(q.key, "units"), "?") << q.key;
    EXPECT_NE(text_attribute(q.key, "long_name"), "?") << q.key;
  }
}

TEST_F(ExportNetcdfTest, ChannelsCarryTheSpectrumAndTheFitsOverTheirRanges) {
  write_and_open();
  ASSERT_EQ(dimension("channel"), 67u);  // channels 2..68
  std::vector<double> nbss = values("nbss", 67);
  EXPECT_EQ(nbss[0], store.nbss_values[2]);
  EXPECT_EQ(nbss[40 - 2], store.nbss_values[40]);
  EXPECT_EQ(nbss[41 - 2], kFill);  // empty channel
  std::vector<double> fit = values("nbss_linear_fit", 67);
  EXPECT_EQ(fit[3 - 2], kFill);
  EXPECT_EQ(fit[4 - 2], -0.9 * store.nbss_log_bounds[4] + 5);
  std::vector<double> quad = values("nbss_quad_fit", 67);
  EXPECT_EQ(quad[26 - 2], kFill);
  EXPECT_EQ(quad[27 - 2], store.nbss_quad_fit[27]);
  EXPECT_EQ(values("centroid_esd", 1)[0], 1500.0);
  EXPECT_EQ(text_attribute("centroid_esd", "units"), "um");
}

TEST_F(ExportNetcdfTest, StationAndCommandLineFromTheRun) {
  write_and_open();
  EXPECT_NEAR(values("lat", 1)[0], 43.257667, 1e-6);
  EXPECT_NEAR(values("lon", 1)[0], -66.418167, 1e-6);
  EXPECT_EQ(values("time", 1)[0], 1692813089.0);  // 2023-08-23 17:51:29 UTC
  EXPECT_EQ(values("bottom_depth", 1)[0], 174.0);
  EXPECT_EQ(text_attribute("temperature", "coordinates"), "time lat lon");
  std::string expected;
  for (int n = 1; n <= 61; ++n) expected += (n > 1 ? " " : "") + arguments_[n];
  EXPECT_EQ(text_attribute("", "command_line_arguments"), expected);
}

TEST_F(ExportNetcdfTest, TimeIntervalsMakeATimeSeriesBesideTheStationTime) {
  use_time_intervals();
  write_recording_header();
  write_and_open();
  EXPECT_EQ(text_attribute("", "featureType"), "timeSeries");
  EXPECT_EQ(dimension("elapsed_time"), 100u);
  EXPECT_EQ(values("elapsed_time", 100)[0], 9.0);
  EXPECT_EQ(values("time", 1)[0], 1692813089.0);
  EXPECT_EQ(text_attribute("count_1", "coordinates"), "time lat lon");
  EXPECT_EQ(text_attribute("count_1", "long_name"),
            "number of particles of 100-250 um ESD in the interval");
  int var;
  EXPECT_NE(nc_inq_varid(id_, "temperature", &var), NC_NOERR);  // no CTD line is read
}

TEST_F(ExportNetcdfTest, WithoutStationDetailsThereAreNoStationVariables) {
  store.recording_header = "# no station details\n";
  write_and_open();
  int var;
  EXPECT_NE(nc_inq_varid(id_, "lat", &var), NC_NOERR);
  EXPECT_NE(nc_inq_varid(id_, "time", &var), NC_NOERR);
  EXPECT_EQ(text_attribute("temperature", "coordinates"), "?");
}

TEST_F(ExportNetcdfTest, NoTemporaryFileIsLeftBehind) {
  write_and_open();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch("out")), {}), 1);
}

}  // namespace

}  // namespace veka

#endif
