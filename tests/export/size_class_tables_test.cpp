// The spectrum tables as a user meets them: the program run with --spectrum
// on the bundled cast and on a simulated tow in the time mode, the tables
// read back as a csv reader would, and their counts added up against the
// totals the data report prints for the same particles.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "support/support.h"

namespace veka {

namespace {

namespace fs = std::filesystem;

using Row = std::map<std::string, std::string>;

struct Table {
  std::vector<std::string> header;
  std::vector<Row> rows;
};

// Every line ends with CR LF and has as many fields as the header.
Table read_table(const std::string& name) {
  std::string text = support::read_file(name);
  Table table;
  size_t start = 0;
  for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
    std::vector<std::string> cells;
    std::stringstream line(text.substr(start, end - start) + ",");
    for (std::string cell; std::getline(line, cell, ',');) cells.push_back(cell);
    if (table.header.empty()) {
      table.header = cells;
      continue;
    }
    EXPECT_EQ(cells.size(), table.header.size()) << name << ": " << text.substr(start, end - start);
    Row row;
    for (size_t i = 0; i < cells.size() && i < table.header.size(); ++i) {
      row[table.header[i]] = cells[i];
    }
    table.rows.push_back(row);
  }
  EXPECT_EQ(start, text.size()) << name << " does not end with a line end";
  return table;
}

double number(const Row& row, const std::string& column) {
  const std::string& cell = row.at(column);
  EXPECT_FALSE(cell.empty()) << column;
  return cell.empty() ? 0.0 : std::stod(cell);
}

// The number after the first `label` at or after `from` in the report.
double report_total(const std::string& report, const std::string& label, size_t from = 0) {
  size_t at = report.find(label, from);
  EXPECT_NE(at, std::string::npos) << label;
  at = report.find_first_of("-0123456789", at + label.size());
  return std::stod(report.substr(at));
}

struct Outputs {
  std::string report;
  Table classes;
  Table steps;
  Table fit;
};

// Runs the program with --spectrum on in/<data_set>1.dat of `scratch`.
Outputs run_with_spectrum(const support::ScratchDir& scratch, std::vector<std::string> arguments,
                          const std::string& data_set) {
  arguments.push_back("--spectrum");
  EXPECT_EQ(support::run_program(VEKAPROC_PATH, arguments, "", scratch.path()).exit_code, 0);
  std::string base = scratch.path() + "out/" + data_set + "1_r1";
  return {support::read_file(base + "_Data.csv"), read_table(base + "_Spectrum.csv"),
          read_table(base + "_Spectrum_bins.csv"), read_table(base + "_Spectrum_fit.csv")};
}

Outputs sample_run(const support::ScratchDir& scratch) {
  fs::create_directory(scratch.path() + "in");
  fs::create_directory(scratch.path() + "out");
  fs::copy_file(std::string(VEKA_SOURCE_DIR) + "/samples/VK1.dat", scratch.path() + "in/VK1.dat");
  std::vector<std::string> arguments = support::standard_arguments("in/", "VK", "out/");
  arguments[24] = "0.8";  // the sample's expected speed
  return run_with_spectrum(scratch, arguments, "VK");
}

// A two-minute tow binned by time count, with the simulator's argument line.
Outputs tow_run(const support::ScratchDir& scratch) {
  fs::create_directory(scratch.path() + "in");
  fs::create_directory(scratch.path() + "out");
  std::vector<std::string> simulate = {"vekasim",    "--scenario", "tow",   "--seed",    "14",
                                       "--duration", "120",        "--out", "in/TW1.dat"};
  EXPECT_EQ(support::run_program(VEKASIM_PATH, simulate, "", scratch.path()).exit_code, 0);
  simulate.insert(simulate.end(), {"--report-dir", "out/", "--args"});
  std::istringstream line(support::run_program(VEKASIM_PATH, simulate, "", scratch.path()).output);
  std::vector<std::string> arguments = {"vekaproc"};
  for (std::string word; line >> word;) arguments.push_back(word);
  EXPECT_EQ(arguments[4], "1");  // time bins
  return run_with_spectrum(scratch, arguments, "TW");
}

struct Sums {
  double counted = 0, mep = 0, mep_under_6mm = 0;
};

Sums sums_of(const Table& table) {
  Sums sums;
  for (const Row& row : table.rows) {
    sums.counted += number(row, "counted");
    sums.mep += number(row, "counted_mep");
    if (number(row, "esd_upper_um") <= 6000) sums.mep_under_6mm += number(row, "counted_mep");
  }
  return sums;
}

// The same counts per class in both tables.
void expect_steps_add_up_to_classes(const Outputs& run) {
  std::map<std::string, double> by_class, mep_by_class;
  for (const Row& row : run.steps.rows) {
    by_class[row.at("class")] += number(row, "counted");
    mep_by_class[row.at("class")] += number(row, "counted_mep");
  }
  for (const Row& row : run.classes.rows) {
    EXPECT_EQ(by_class[row.at("class")], number(row, "counted")) << row.at("class");
    EXPECT_EQ(mep_by_class[row.at("class")], number(row, "counted_mep")) << row.at("class");
  }
}

TEST(SpectrumFiles, CastTablesAreTidyAndAddUpToTheReport) {
  support::ScratchDir scratch;
  Outputs run = sample_run(scratch);
  EXPECT_EQ(run.classes.header.size(), 20u);
  EXPECT_EQ(run.fit.rows.size(), 1u);
  ASSERT_FALSE(run.classes.rows.empty());
  expect_steps_add_up_to_classes(run);
  // The multi-element particles under 6 mm of the profile's steps are those
  // of the report's "MEP data only" block.
  Sums sums = sums_of(run.classes);
  EXPECT_EQ(sums.mep_under_6mm, report_total(run.report, "Tot. cts", run.report.find("MEP data")));
  // The fit counts what it spans: from the class with the most particles on.
  const Row& fit = run.fit.rows[0];
  double fitted = 0, most = 0;
  for (const Row& row : run.classes.rows) {
    double n = number(row, "counted");
    if (number(row, "class") >= number(fit, "mle_class_low")) fitted += n;
    most = std::max(most, n);
  }
  EXPECT_EQ(number(fit, "mle_n"), fitted);
  EXPECT_LT(number(fit, "mle_b_ci_low"), number(fit, "mle_b"));
  EXPECT_GT(number(fit, "mle_b_ci_high"), number(fit, "mle_b"));
  for (const Row& row : run.classes.rows) {
    // Biomass density is the concentration of spheres of the class centre
    // (mass = 1000 ug/mm3 x biovolume at flow scale 1).
    double esd_mm = (number(row, "esd_lower_um") + number(row, "esd_upper_um")) / 2000;
    double centre_ug = 1000 * 4.1866666666666665 * esd_mm * esd_mm * esd_mm / 8;
    EXPECT_NEAR(number(row, "biomass_density_ug_per_m3"),
                number(row, "concentration_per_m3") * centre_ug,
                1e-6 * number(row, "biomass_density_ug_per_m3") + 1e-12)
        << row.at("class");
    if (number(row, "counted") == most) {
      EXPECT_EQ(row.at("class"), fit.at("mle_class_low"));
    }
  }
}

TEST(SpectrumFiles, TimeModeCountsAreTheReportsTotalsAndNothingIsPerVolume) {
  support::ScratchDir scratch;
  Outputs run = tow_run(scratch);
  ASSERT_FALSE(run.classes.rows.empty());
  expect_steps_add_up_to_classes(run);
  // The time mode neither fills nor scales: every count of the analysed
  // range is in the report's totals as counted.
  Sums sums = sums_of(run.classes);
  EXPECT_EQ(sums.counted, report_total(run.report, "Tot. cts"));
  EXPECT_EQ(sums.counted - sums.mep, report_total(run.report, "Total SEP cts"));
  EXPECT_EQ(sums.mep_under_6mm, report_total(run.report, "Tot. cts", run.report.find("MEP data")));
  EXPECT_EQ(run.steps.header[5], "elapsed_time_s");
  for (const Row& row : run.classes.rows) {
    for (const char* column : {"water_volume_m3", "concentration_per_m3",
                               "nbss_biovolume_um3_per_um3_per_l", "psd_per_um_per_l"}) {
      EXPECT_EQ(row.at(column), "") << column;
    }
  }
}

}  // namespace

}  // namespace veka
