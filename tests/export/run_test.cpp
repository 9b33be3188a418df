// The exports as a user meets them: the program run on the bundled sample.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/support.h"

namespace veka {

namespace {

namespace fs = std::filesystem;

// The sample's argument line with relative folders in/ and out/.
std::vector<std::string> sample_arguments() {
  return {"vekaproc", "in/",  "VK",  "out/", "2",   "0",   "0",   "1",    "1",    "r1",   "0",
          "24",       "D",    "C",   "T",    "S",   "A1",  "x",   "x",    "x",    "x",    "x",
          "x",        "1",    "0.8", "1",    "1",   "0",   "0.5", "2.0",  "2.0",  "5.0",  "5.0",
          "30.0",     "0.2",  "1.0", "0.5",  "2.0", "0.3", "3.0", "0.5",  "2.0",  "1.0",  "3.0",
          "3.0",      "20.0", "100", "250",  "250", "500", "500", "1000", "1000", "2000", "2000",
          "4000",     "0",    "1",   "1",    "0",   "0",   "0"};
}

// A scratch folder holding in/VK1.dat and an empty out/, the working folder
// of the program.
class SampleFolder {
 public:
  SampleFolder() {
    fs::create_directory(scratch_.path() + "in");
    fs::create_directory(scratch_.path() + "out");
    fs::copy_file(std::string(VEKA_SOURCE_DIR) + "/samples/VK1.dat",
                  scratch_.path() + "in/VK1.dat");
  }
  support::ProcessResult run(const std::vector<std::string>& options) {
    std::vector<std::string> arguments = sample_arguments();
    arguments.insert(arguments.end(), options.begin(), options.end());
    return support::run_program(VEKAPROC_PATH, arguments, "", scratch_.path());
  }
  // Every file of out/ with its content.
  std::map<std::string, std::string> output() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(scratch_.path() + "out")) {
      files[entry.path().filename().string()] = support::read_file(entry.path().string());
    }
    return files;
  }

 private:
  support::ScratchDir scratch_;
};

std::vector<std::string> names_of(const std::map<std::string, std::string>& files) {
  std::vector<std::string> names;
  for (const auto& [name, content] : files) names.push_back(name);
  return names;
}

TEST(ExportRunOnSample, WithoutOptionsOnlyTheReportsAreWritten) {
  SampleFolder folder;
  support::ProcessResult result = folder.run({});
  EXPECT_EQ(result.exit_code, 0);
  EXPECT_EQ(
      names_of(folder.output()),
      (std::vector<std::string>{"VK1_r1_Data.csv", "a_Batch_VK_r1.csv", "a_Surfer_VK_r1.csv"}));
}

TEST(ExportRunOnSample, OptionsAddTheirFilesAndChangeNothingElse) {
  SampleFolder plain, exported;
  support::ProcessResult without = plain.run({});
  std::vector<std::string> options = {"--plots", "--odv"};
#ifdef VEKA_HAVE_NETCDF
  options.push_back("--netcdf");
#endif
  support::ProcessResult with = exported.run(options);
  EXPECT_EQ(with.exit_code, 0);
  EXPECT_EQ(with.output, without.output);  // the console, byte for byte
  std::map<std::string, std::string> reports = plain.output();
  std::map<std::string, std::string> all = exported.output();
  for (const auto& [name, content] : reports) {
    ASSERT_EQ(all.count(name), 1u) << name;
    EXPECT_EQ(all[name], content) << name;
    all.erase(name);
  }
  std::vector<std::string> added = {"VK1_r1_ODV.txt", "VK1_r1_Plots.html", "a_ODV_VK_r1.txt",
                                    "a_Plots_VK_r1.html"};
#ifdef VEKA_HAVE_NETCDF
  added = {"VK1_r1.nc",       "VK1_r1_ODV.txt",     "VK1_r1_Plots.html",  "VK1_r1_spectrum.nc",
           "a_ODV_VK_r1.txt", "a_Plots_VK_r1.html", "a_Profiles_VK_r1.nc"};
#endif
  EXPECT_EQ(names_of(all), added);
}

// A two-minute tow binned by time count: its reports are those of a run
// without exports, and its exports carry the CTD of the recording.
TEST(ExportRunOnTow, ExportsCarryTheCtdAndTheReportsStayAsTheyAre) {
  support::ScratchDir plain, exported;
  std::vector<std::string> simulate = {"vekasim",    "--scenario", "tow",   "--seed",    "14",
                                       "--duration", "120",        "--out", "in/TW1.dat"};
  std::vector<std::string> arguments = {"vekaproc"};
  for (const support::ScratchDir* folder : {&plain, &exported}) {
    fs::create_directory(folder->path() + "in");
    fs::create_directory(folder->path() + "out");
    ASSERT_EQ(support::run_program(VEKASIM_PATH, simulate, "", folder->path()).exit_code, 0);
  }
  simulate.insert(simulate.end(), {"--report-dir", "out/", "--args"});
  std::istringstream line(support::run_program(VEKASIM_PATH, simulate, "", plain.path()).output);
  for (std::string word; line >> word;) arguments.push_back(word);
  ASSERT_EQ(arguments[4], "1");  // time bins
  support::ProcessResult without = support::run_program(VEKAPROC_PATH, arguments, "", plain.path());
  arguments.insert(arguments.end(), {"--odv", "--plots"});
  support::ProcessResult with = support::run_program(VEKAPROC_PATH, arguments, "", exported.path());
  EXPECT_EQ(with.output, without.output);
  for (const char* report : {"TW1_r1_Data.csv", "a_Batch_TW_r1.csv", "a_Surfer_TW_r1.csv"}) {
    EXPECT_TRUE(support::read_file(plain.path() + "out/" + report) ==
                support::read_file(exported.path() + "out/" + report))
        << report;
  }
  std::string odv = support::read_file(exported.path() + "out/TW1_r1_ODV.txt");
  for (const char* column : {"\ttime_ISO8601 [yyyy-mm-ddThh:mm:ss.sss]\t", "\tDepth [m]\t",
                             "\tTemperature [degC]\t", "\tSalinity [psu]\t", "\tAnalog 1 [V]\t"}) {
    EXPECT_NE(odv.find(column), std::string::npos) << column;
  }
  std::string page = support::read_file(exported.path() + "out/TW1_r1_Plots.html");
  EXPECT_EQ(page.find("No such CTD reading"), std::string::npos);
}

TEST(ExportRunOnSample, UnknownOptionStopsBeforeAnyFile) {
  SampleFolder folder;
  support::ProcessResult result = folder.run({"--plots", "--pdf"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.output,
            "Unknown option \"--pdf\" after the 61 arguments (known: --plots, --odv, --netcdf, "
            "--spectrum, --bin, --section, --cruise, --station, --time, --lat, --lon, "
            "--attribute)\r\n");
  EXPECT_TRUE(folder.output().empty());
}

}  // namespace

}  // namespace veka
