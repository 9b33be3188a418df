#include "export/options.h"

#include <gtest/gtest.h>

#include "common/fatal.h"
#include "store/store.h"
#include "support/support.h"

namespace veka {

namespace {

ExportOptions options_after(const std::vector<std::string>& options) {
  std::vector<std::string> arguments = support::standard_arguments("in/", "W", "out/");
  arguments.insert(arguments.end(), options.begin(), options.end());
  support::load_arguments(arguments);
  return read_export_options();
}

std::string refusal(const std::vector<std::string>& options) {
  try {
    options_after(options);
  } catch (const FatalError& error) {
    return error.what();
  }
  return "";
}

TEST(ExportOptions, SixtyOneArgumentsAskForNothing) {
  ExportOptions none = options_after({});
  EXPECT_FALSE(none.any());
  support::load_arguments({"vekaproc", "--plots"});  // a positional argument, not an option
  EXPECT_FALSE(read_export_options().any());
}

TEST(ExportOptions, AnyCombinationInAnyOrder) {
  ExportOptions three = options_after({"--odv", "--spectrum", "--plots", "--odv"});
  EXPECT_TRUE(three.plots);
  EXPECT_TRUE(three.odv);
  EXPECT_TRUE(three.spectrum);
  EXPECT_FALSE(three.netcdf);
}

const std::string kKnown =
    " after the 61 arguments (known: --plots, --odv, --netcdf, --spectrum, --bin, --section, "
    "--cruise, --station, --time, --lat, --lon, --attribute)";

TEST(ExportOptions, UnknownOptionIsFatalAndNamed) {
  EXPECT_EQ(refusal({"--plots", "--pdf"}), "Unknown option \"--pdf\"" + kKnown);
  EXPECT_EQ(refusal({"plots"}), "Unknown option \"plots\"" + kKnown);
}

TEST(ExportOptions, SettingsTakeTheArgumentAfterThem) {
  ExportOptions o =
      options_after({"--odv", "--bin", "25", "--section", "3", "--cruise", "VK23-04", "--station",
                     "017", "--time", "2023-08-23T17:51:29Z", "--lat", "43 15.46 N", "--lon",
                     "-66.5", "--attribute", "license=CC-BY-4.0"});
  EXPECT_TRUE(o.odv);
  EXPECT_EQ(o.bin, 25);
  EXPECT_EQ(o.section_range, 3);
  EXPECT_EQ(options_after({}).section_range, kAllRanges);
  EXPECT_EQ(o.station.cruise, "VK23-04");
  EXPECT_EQ(o.station.station, "017");
  EXPECT_EQ(iso_date(*o.station.date), "2023-08-23");
  EXPECT_EQ(o.station.time_of_day, 17 * 3600 + 51 * 60 + 29.0);
  EXPECT_DOUBLE_EQ(*o.station.latitude, 43 + 15.46 / 60);
  EXPECT_EQ(o.station.longitude, -66.5);
  ASSERT_EQ(o.attributes.size(), 1u);
  EXPECT_EQ(o.attributes[0].name + "=" + o.attributes[0].value, "license=CC-BY-4.0");
}

TEST(ExportOptions, SettingWithoutAValidValueIsFatal) {
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"--bin", "7"}, "Option --bin: \"7\" is not 1, 5, 10 or 25"},
      {{"--section", "6"},
       "Option --section: \"6\" is not a reporting range 1 to 5, or 0 for the classes "
       "100..2500 um"},
      {{"--time", "2023-08-23"},
       "Option --time: \"2023-08-23\" is not a date and time in UTC (2023-08-23T17:51:29)"},
      {{"--lat", "95"},
       "Option --lat: \"95\" is not a position in degrees (-43.2577, \"43 15.46 S\")"},
      {{"--lon", "10 W E"},
       "Option --lon: \"10 W E\" is not a position in degrees (-43.2577, \"43 15.46 W\")"},
      {{"--attribute", "history=mine"},
       "Option --attribute: \"history=mine\" is not NAME=TEXT with a NAME of creator_name, "
       "creator_email, creator_url, creator_type, creator_institution, institution, project, "
       "program, license, references, comment, acknowledgement, publisher_name, publisher_email, "
       "publisher_url, publisher_institution, naming_authority, contributor_name, "
       "contributor_role, platform, instrument, processing_level"},
      {{"--odv", "--cruise"}, "Option --cruise needs a value after it"},
  };
  for (const auto& [options, message] : refused) EXPECT_EQ(refusal(options), message);
}

TEST(ExportOptions, NetcdfDependsOnTheBuild) {
#ifdef VEKA_HAVE_NETCDF
  EXPECT_TRUE(options_after({"--netcdf"}).netcdf);
#else
  EXPECT_EQ(refusal({"--netcdf"}),
            "Option --netcdf: this vekaproc was built without the netCDF library");
#endif
}

}  // namespace

}  // namespace veka
