// The exports of the bundled sample against the reviewed files in
// tests/export/golden, made by the make_golden script there (which also
// tells how to regenerate them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "support/support.h"

namespace veka {

namespace {

const std::string kGolden = std::string(VEKA_SOURCE_DIR) + "/tests/export/golden/";

bool ncdump_found() {
  return std::system("command -v ncdump > /dev/null 2>&1") == 0;
}

// Runs the script into a scratch folder; true when it succeeded.
bool make_golden(const support::ScratchDir& scratch, bool netcdf) {
  std::string command = "'" + kGolden + "make_golden' '" + VEKAPROC_PATH + "' '" + scratch.path() +
                        "'" + (netcdf ? " --netcdf" : "");
  return std::system(command.c_str()) == 0;
}

TEST(ExportGolden, PagesSpreadsheetAndSpectrumTablesOfTheSampleAreTheReviewedOnes) {
  support::ScratchDir scratch;
  ASSERT_TRUE(make_golden(scratch, false));
  for (const char* name : {"VK1_r1_Plots.html", "a_Plots_VK_r1.html", "VK1_r1_ODV.txt",
                           "VK1_r1_sizes.csv", "VK1_r1_sizes_bins.csv", "VK1_r1_sizes_fit.csv"}) {
    std::string reviewed = support::read_file(kGolden + name);
    ASSERT_FALSE(reviewed.empty()) << name;
    EXPECT_TRUE(support::read_file(scratch.path() + name) == reviewed)
        << name << " differs from the reviewed file; see tests/export/golden/make_golden";
  }
}

TEST(ExportGolden, NetcdfFilesOfTheSampleReadBackAsTheReviewedCdl) {
#ifndef VEKA_HAVE_NETCDF
  GTEST_SKIP() << "built without the netCDF library";
#endif
  if (!ncdump_found()) GTEST_SKIP() << "ncdump not found (Debian package netcdf-bin)";
  support::ScratchDir scratch;
  ASSERT_TRUE(make_golden(scratch, true));
  for (const char* name : {"VK1_r1.cdl", "VK1_r1_sizes.cdl"}) {
    std::string reviewed = support::read_file(kGolden + name);
    ASSERT_FALSE(reviewed.empty()) << name;
    EXPECT_TRUE(support::read_file(scratch.path() + name) == reviewed)
        << "ncdump text " << name << " differs from the reviewed one; see "
        << "tests/export/golden/make_golden";
  }
}

}  // namespace

}  // namespace veka
