// The netCDF files read back through the library.
#include "export/netcdf_profile.h"
#include "export/netcdf_size_classes.h"
#include "export/size_fits.h"
#include "export/step_table.h"
#include "export_fixture.h"

#ifdef VEKA_HAVE_NETCDF
#include <netcdf.h>

#include <cstdlib>

namespace veka {

namespace {

class ExportNetcdfTest : public ExportFixture {
 protected:
  void SetUp() override {
    ExportFixture::SetUp();
    write_recording_header();
  }
  void TearDown() override { close(); }
  void open(const std::string& name) {
    close();
    ASSERT_EQ(nc_open(scratch("out/" + name).c_str(), NC_NOWRITE, &id_), NC_NOERR) << name;
  }
  void close() {
    if (id_ >= 0) nc_close(id_);
    id_ = -1;
  }
  void write_and_open(int width = 1, const std::vector<GlobalAttribute>& attributes = {}) {
    write_netcdf_profile(profile(width), attributes);
    open("W7_r1.nc");
  }
  int variable(const std::string& name) {
    int var = -1;
    return nc_inq_varid(id_, name.c_str(), &var) == NC_NOERR ? var : -2;
  }
  // "?" when the attribute is missing.
  std::string text_attribute(const std::string& variable_name, const std::string& name) {
    int var = variable_name.empty() ? NC_GLOBAL : variable(variable_name);
    size_t length = 0;
    if (var == -2 || nc_inq_attlen(id_, var, name.c_str(), &length) != NC_NOERR) return "?";
    std::string text(length, ' ');
    nc_get_att_text(id_, var, name.c_str(), text.data());
    return text;
  }
  double number_attribute(const std::string& name) {
    double value = -1.0;
    EXPECT_EQ(nc_get_att_double(id_, NC_GLOBAL, name.c_str(), &value), NC_NOERR) << name;
    return value;
  }
  // The number of values of a variable.
  size_t size_of(int var) {
    int dims[NC_MAX_VAR_DIMS];
    int rank = 0;
    nc_inq_varndims(id_, var, &rank);
    nc_inq_vardimid(id_, var, dims);
    size_t size = 1;
    for (int d = 0; d < rank; ++d) {
      size_t length = 0;
      nc_inq_dimlen(id_, dims[d], &length);
      size *= length;
    }
    return size;
  }
  // The first `count` values of a variable.
  std::vector<double> values(const std::string& name, size_t count) {
    int var = variable(name);
    EXPECT_GE(var, 0) << name;
    if (var < 0) return std::vector<double>(count);
    std::vector<double> all(size_of(var));
    nc_get_var_double(id_, var, all.data());
    all.resize(count);
    return all;
  }
  std::vector<std::string> texts(const std::string& name, size_t count) {
    EXPECT_EQ(size_of(variable(name)), count) << name;
    std::vector<char*> raw(count);
    EXPECT_EQ(nc_get_var_string(id_, variable(name), raw.data()), NC_NOERR) << name;
    std::vector<std::string> out(raw.begin(), raw.end());
    nc_free_string(count, raw.data());
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

TEST_F(ExportNetcdfTest, ProfileFileClaimsCfAndAcddWithItsCoverage) {
  write_and_open(1, {{"creator_name", "A. Diver"}, {"creator_email", "a@b.org"}});
  EXPECT_EQ(text_attribute("", "Conventions"), "CF-1.8, ACDD-1.3");
  EXPECT_EQ(text_attribute("", "featureType"), "profile");
  EXPECT_EQ(text_attribute("", "id"), "VK23-04_049");
  EXPECT_EQ(text_attribute("", "creator_name"), "A. Diver");
  EXPECT_EQ(text_attribute("", "creator_email"), "a@b.org");
  for (const char* name : {"title", "summary", "keywords", "source", "institution", "project",
                           "license", "references", "comment", "standard_name_vocabulary"}) {
    std::string value = text_attribute("", name);
    EXPECT_TRUE(value != "?" && !value.empty()) << name;
  }
  std::string created = text_attribute("", "date_created");
  ASSERT_EQ(created.size(), 20u);  // 2023-08-23T17:51:29Z
  EXPECT_EQ(created[10], 'T');
  EXPECT_EQ(created.back(), 'Z');
  EXPECT_EQ(text_attribute("", "history").rfind(created + " vekaproc V1.3 Nov.22/04: vekaproc ", 0),
            0u);
  EXPECT_NE(text_attribute("", "comment").find("From the recording's header: cruise"),
            std::string::npos);
  EXPECT_NEAR(number_attribute("geospatial_lat_min"), 43.257667, 1e-6);
  EXPECT_NEAR(number_attribute("geospatial_lon_max"), -66.418167, 1e-6);
  EXPECT_EQ(number_attribute("geospatial_vertical_min"), 4.5);
  EXPECT_EQ(number_attribute("geospatial_vertical_max"), 104.5);
  EXPECT_EQ(text_attribute("", "geospatial_vertical_positive"), "down");
  EXPECT_EQ(text_attribute("", "time_coverage_start"), "2023-08-23T17:51:29Z");
  EXPECT_EQ(texts("profile_id", 1)[0], "VK23-04_049");
  EXPECT_EQ(text_attribute("profile_id", "cf_role"), "profile_id");
  EXPECT_EQ(values("time", 1)[0], 1692813089.0);  // 2023-08-23 17:51:29 UTC
  EXPECT_EQ(text_attribute("time", "units"), "seconds since 1970-01-01 00:00:00");
  EXPECT_EQ(values("bottom_depth", 1)[0], 174.0);
  int var;
  for (const char* moved : {"nbss", "channel", "linear_slope", "mle_b"}) {
    EXPECT_NE(nc_inq_varid(id_, moved, &var), NC_NOERR) << moved;  // in the spectrum file
  }
}

TEST_F(ExportNetcdfTest, DepthHasBoundsAndEveryStepMeanItsCellMethod) {
  write_and_open();
  EXPECT_EQ(dimension("depth"), 100u);
  EXPECT_EQ(text_attribute("depth", "bounds"), "depth_bounds");
  EXPECT_EQ(text_attribute("depth", "positive"), "down");
  std::vector<double> bounds = values("depth_bounds", 200);
  EXPECT_EQ(std::vector<double>(bounds.begin(), bounds.begin() + 2),
            (std::vector<double>{4.5, 5.5}));
  std::vector<double> temperature = values("temperature", 100);
  EXPECT_EQ(temperature[0], store.report_profile[5][kCtdTemperature]);
  EXPECT_EQ(temperature[kNoSamples - kFirstStep], kFill);
  EXPECT_EQ(values("count_conc_2", 100)[kNoWater - kFirstStep], kFill);
  for (const StepQuantity& q : step_quantities({})) {
    bool sum = q.key == "samples" || q.key == "water_volume";
    EXPECT_EQ(text_attribute(q.key, "cell_methods"), sum ? "depth: sum" : "depth: mean") << q.key;
    EXPECT_EQ(text_attribute(q.key, "coordinates"), "time lat lon profile_id depth") << q.key;
    EXPECT_NE(text_attribute(q.key, "units"), "?") << q.key;
  }
  write_and_open(25);  // bins 1..25 (steps 5..25), 26..50, ..., 101..125 (101..104)
  ASSERT_EQ(dimension("depth"), 5u);
  EXPECT_EQ(values("depth_bounds", 10),
            (std::vector<double>{4.5, 25.5, 25.5, 50.5, 50.5, 75.5, 75.5, 100.5, 100.5, 104.5}));
  EXPECT_EQ(values("depth", 5)[1], 38.0);
  EXPECT_DOUBLE_EQ(values("water_volume", 5)[4], 4 * 0.004);
}

TEST_F(ExportNetcdfTest, TimeModeCountsSecondsFromTheStationTime) {
  use_time_intervals();  // intervals of 2 s from count 100; the recording starts at 96
  write_recording(
      "* Date 2023-08-23\r\n* Time 17:51:29\r\n* Lat 43.5\r\n* Lon -60\r\n"
      "L5 0 0 96 0 0 0 0\r\nL5 0 0 100 0 0 0 0\r\nL5 0 0 116 0 0 0 0\r\n"
      "C 10.0 40.0 12.0 31.0 0.5\r\n");
  write_and_open();
  EXPECT_EQ(text_attribute("", "featureType"), "timeSeries");
  EXPECT_EQ(text_attribute("time", "units"), "seconds since 2023-08-23 17:51:29");
  EXPECT_EQ(text_attribute("time", "axis"), "T");
  EXPECT_EQ(values("time", 1)[0], 2.0 + 9.0);  // interval 5, the range 2 s after the first frame
  EXPECT_EQ(values("time_bounds", 2), (std::vector<double>{2.0 + 8.0, 2.0 + 10.0}));
  EXPECT_EQ(text_attribute("count_1", "cell_methods"), "time: sum");
  EXPECT_EQ(text_attribute("temperature", "cell_methods"), "time: mean");
  EXPECT_EQ(values("temperature", 1)[0], 12.0);
  EXPECT_EQ(text_attribute("", "time_coverage_start"), "2023-08-23T17:51:39Z");
  EXPECT_EQ(texts("timeseries_id", 1)[0], "W_7");

  write_recording("L5 0 0 100 0 0 0 0\r\n");  // no date and time
  write_and_open();
  EXPECT_EQ(text_attribute("", "featureType"), "?");
  EXPECT_EQ(text_attribute("recording_time", "units"), "s");
  EXPECT_EQ(values("recording_time", 1)[0], 9.0);
  EXPECT_EQ(variable("time"), -2);
}

TEST_F(ExportNetcdfTest, WithoutPositionTheCoordinatesAreFillValuesWithAComment) {
  write_recording("# no station details\r\nC 1 2 3 4 5\r\n");
  write_and_open();
  EXPECT_EQ(values("lat", 1)[0], kFill);
  EXPECT_EQ(values("time", 1)[0], kFill);
  EXPECT_EQ(text_attribute("lat", "comment").rfind("Not known for W_7: ", 0), 0u);
  EXPECT_EQ(text_attribute("temperature", "coordinates"), "time lat lon profile_id depth");
  EXPECT_EQ(text_attribute("", "geospatial_lat_min"), "?");
  EXPECT_EQ(text_attribute("", "time_coverage_start"), "?");
  EXPECT_NE(text_attribute("", "comment").find("Stand-ins: cruise = data set name W"),
            std::string::npos);
  EXPECT_EQ(variable("bottom_depth"), -2);
}

TEST_F(ExportNetcdfTest, SpectrumFileHasAnEsdCoordinateWithBounds) {
  write_netcdf_spectrum(profile(), fit_spectrum(spectrum_table()), {});
  open("W7_r1_spectrum.nc");
  EXPECT_EQ(text_attribute("", "featureType"), "?");
  ASSERT_EQ(dimension("esd"), 67u);  // channels 2..68
  EXPECT_EQ(text_attribute("esd", "bounds"), "esd_bounds");
  std::vector<double> bounds = values("esd_bounds", 2);
  EXPECT_EQ(bounds, (std::vector<double>{store.nbss_size_bounds[1], store.nbss_size_bounds[2]}));
  EXPECT_EQ(values("esd", 1)[0], (bounds[0] + bounds[1]) / 2);
  std::vector<double> nbss = values("nbss", 67);
  EXPECT_EQ(nbss[40 - 2], store.nbss_values[40]);
  EXPECT_EQ(nbss[41 - 2], kFill);  // empty channel
  std::vector<double> fit = values("nbss_linear_fit", 67);
  EXPECT_EQ(fit[3 - 2], kFill);
  EXPECT_EQ(fit[4 - 2], -0.9 * store.nbss_log_bounds[4] + 5);
  EXPECT_EQ(values("esd_mm_bounds", 2), (std::vector<double>{5.0, 6.0}));
  EXPECT_EQ(values("centroid_esd", 1)[0], 1500.0);
  EXPECT_EQ(texts("profile_id", 1)[0], "VK23-04_049");
}

// Files 7, 8 and 9 of the run: 100, 60 and 30 steps.
TEST_F(ExportNetcdfTest, CruiseFileHoldsThreeProfilesSelectableByTheirIdentity) {
  std::vector<ExportedProfile> run = {profile()};
  for (int number : {8, 9}) {
    prepare_file(number);
    store.range_hi = number == 8 ? 64 : 34;
    run.push_back(profile());
  }
  write_cruise_netcdf(run, {});
  open("a_Profiles_W_r1.nc");
  EXPECT_EQ(text_attribute("", "featureType"), "profile");
  ASSERT_EQ(dimension("profile"), 3u);
  ASSERT_EQ(dimension("z"), 100u);
  std::vector<std::string> ids = texts("profile_id", 3);
  EXPECT_EQ(ids, (std::vector<std::string>{"VK23-04_049", "W_8", "W_9"}));
  size_t nine = std::find(ids.begin(), ids.end(), "W_9") - ids.begin();
  std::vector<double> depth = values("depth", 300);
  EXPECT_EQ(depth[nine * 100], 5.0);
  EXPECT_EQ(depth[nine * 100 + 29], 34.0);
  EXPECT_EQ(depth[nine * 100 + 30], kFill);  // beyond the profile's 30 steps
  EXPECT_EQ(values("depth_bounds", 600)[nine * 200 + 59], 34.5);
  EXPECT_EQ(values("time", 3)[1], kFill);
  EXPECT_EQ(text_attribute("temperature", "coordinates"), "time lat lon profile_id depth");
  EXPECT_EQ(values("temperature", 300)[nine * 100 + 30], kFill);

  // Opened and indexed as a user of xarray would (when Debian's
  // python3-xarray is installed).
  if (std::system("/usr/bin/python3 -c 'import xarray' > /dev/null 2>&1") != 0) {
    GTEST_SKIP() << "python3-xarray not found";
  }
  std::string script = "import xarray; d = xarray.open_dataset('" +
                       scratch("out/a_Profiles_W_r1.nc") +
                       "').set_xindex('profile_id').sel(profile_id='W_9'); "
                       "assert d.depth.dropna('z').size == 30 and float(d.depth[0]) == 5.0";
  EXPECT_EQ(std::system(("/usr/bin/python3 -W ignore -c \"" + script + "\"").c_str()), 0);
}

TEST_F(ExportNetcdfTest, NoTemporaryFileIsLeftBehind) {
  write_and_open();
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch("out")), {}), 1);
}

}  // namespace

}  // namespace veka

#endif
