#include "export/options.h"

#include <gtest/gtest.h>

#include "common/fatal.h"
#include "store/store.h"
#include "support/support.h"

namespace veka {

namespace {

ExportOptions options_after(const std::vector<std::string>& options) {
  std::vector<std::string> arguments = testing::standard_arguments("in/", "W", "out/");
  arguments.insert(arguments.end(), options.begin(), options.end());
  testing::load_arguments(arguments);
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
  testing::load_arguments({"vekaproc", "--plots"});  // a positional argument, not an option
  EXPECT_FALSE(read_export_options().any());
}

TEST(ExportOptions, AnyCombinationInAnyOrder) {
  ExportOptions three = options_after({"--odv", "--spectrum", "--plots", "--odv"});
  EXPECT_TRUE(three.plots);
  EXPECT_TRUE(three.odv);
  EXPECT_TRUE(three.spectrum);
  EXPECT_FALSE(three.netcdf);
}

TEST(ExportOptions, UnknownOptionIsFatalAndNamed) {
  EXPECT_EQ(refusal({"--plots", "--pdf"}),
            "Unknown option \"--pdf\" after the 61 arguments (known: --plots, --odv, --netcdf, "
            "--spectrum)");
  EXPECT_EQ(refusal({"plots"}),
            "Unknown option \"plots\" after the 61 arguments (known: --plots, --odv, --netcdf, "
            "--spectrum)");
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
