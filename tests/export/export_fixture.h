// A store as the stages leave it after the reports of a synthetic cast: the
// run parameters of the standard argument line (data set W, file 7, output
// into a scratch folder), 100 depth steps 5..104 with a thermocline near
// 30 m, a fluorescence maximum near 25 m, concentrations falling with depth,
// and a power-law size spectrum with its fits. Step 50 has no CTD sample and
// step 60 no filtered water, so the exports must leave gaps there.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "common/console.h"
#include "driver/run_parameters.h"
#include "export/exported_profile.h"
#include "export/station.h"
#include "store/store.h"
#include "support/support.h"

namespace veka {

class ExportFixture : public ::testing::Test {
 protected:
  static constexpr int kFirstStep = 5;
  static constexpr int kLastStep = 104;
  static constexpr int kNoSamples = 50;
  static constexpr int kNoWater = 60;

  void SetUp() override {
    arguments_ = support::standard_arguments(scratch("in/"), "W", scratch("out/"));
    std::filesystem::create_directories(scratch("in"));
    std::filesystem::create_directories(scratch("out"));
    prepare_file(7);
  }

  // The per-file reset, the run parameters and the synthetic cast for data
  // file `number`.
  void prepare_file(int number) {
    support::start_file(arguments_, number);
    fill_cast();
    fill_spectrum();
  }

  // Time intervals of 2 counts over counts 100..2000.
  void use_time_intervals() {
    arguments_[4] = "1", arguments_[5] = "100", arguments_[6] = "2000";
    prepare_file(store.file_number);
  }

  static void fill_cast() {
    Store& s = store;
    s.range_lo = kFirstStep, s.range_hi = kLastStep;
    s.total_volume = 0.4;
    for (int k = kFirstStep; k <= kLastStep; ++k) {
      double* row = s.report_profile[k];
      row[1] = k == kNoSamples ? 0.5 : 24;
      row[2] = 12 - 4 * std::tanh((k - 30) / 6.0);
      row[3] = 40 + 0.05 * row[2];
      row[4] = 31 + 0.01 * k;
      row[5] = 0.8;
      row[6] = 0.3 + std::exp(-(k - 25) * (k - 25) / 50.0);
      row[19] = 0.9 + 0.001 * k;
      s.ctd[k][kCtdVolume] = k == kNoWater ? 0.0 : 0.004;
      for (int r = 1; r <= 5; ++r) {
        s.range_conc[k][r] = 2000.0 / (r * r) * std::exp(-k / 40.0);
        s.range_bio_conc[k][r] = 0.5 * r * std::exp(-k / 60.0);
      }
      s.range_conc[k][10] = 3000 * std::exp(-k / 40.0);
      s.range_bio_conc[k][10] = 2 * std::exp(-k / 60.0);
    }
  }

  // Spectrum y = 5 - 0.9 x over channels 2..40 (empty above), multi-element
  // particles over channels 30..45, the fits and the base over 27..40.
  static void fill_spectrum() {
    Store& s = store;
    for (int j = 1; j <= kClasses; ++j) s.diameter_class_um[j] = 15.0 * j;
    s.nbss_size_bounds[0] = 90.0 / 1.0798;
    for (int i = 1; i <= kChannels; ++i) {
      s.nbss_size_bounds[i] = 90.0 * std::pow(1.0798, i - 1);
      s.nbss_log_bounds[i] = -0.657 + 0.1 * (i - 1);
      s.channel_delta_ug[i] = 0.1 * i;
      double x = s.nbss_log_bounds[i];
      s.nbss_values[i] = i >= 2 && i <= 40 ? 5 - 0.9 * x : -5.0;
      s.mep_nbss_values[i] = i >= 30 && i <= 45 ? 3 - 0.9 * x : -5.0;
    }
    s.nbss_first = 4, s.nbss_last = 40;
    s.linear_slope = -0.9, s.linear_intercept = 5;
    s.nbss_base_first = 27, s.quad_last = 40;
    for (int i = 27; i <= 40; ++i) {
      double x = s.nbss_log_bounds[i];
      s.nbss_quad_fit[i] = 4 - 0.3 * (x - 1) * (x - 1);
      s.nbss_quad_base[i] = 3.8 - 0.24 * (x + 1.1) * (x + 1.1);
      s.nbss_quad_residuals[i] = 0.1;
    }
    s.resid_base_num = 0.3, s.centroid_log_biomass = 1.2, s.centroid_esd = 1500;
    s.total_biomass_density = 25000;
    s.mep_mm_counts[7] = 5, s.mep_mm_counts[8] = 3, s.mep_mm_counts[12] = 1;
    s.mep_large_biomass = 12.5;
  }

  // The header lines of a recording with the station details the simulator
  // writes, as the store keeps them.
  static void write_recording_header() {
    store.recording_header = {
        "# VEKA counter recording, cruise VK23-04, station 049",
        "* Cruise            VK23-04",
        "* Station           049",
        "* Date              2023-08-23",
        "* Time (UTC)        17:51:29",
        "*   Lat    43 15.46 N",
        "*   Lon    066 25.09 W",
        "* Bottom depth      174 m",
    };
  }

  // The recording W7.dat of the run, with its header lines in the store as
  // the per-file settings keep them.
  void write_recording(const std::string& text) {
    support::write_file(scratch("in/W7.dat"), text);
    store.recording_header.clear();
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line) && (line[0] == '#' || line[0] == '*');) {
      if (line.back() == '\r') line.pop_back();
      store.recording_header.push_back(line);
    }
  }

  // The station of the recording W7.dat (or of none), without settings.
  static Station station() {
    return resolve_station(parse_station_header(store.recording_header), {}, "W",
                           store.file_number);
  }

  // The time mode's CTD means of the recording, when there is one.
  static TimeModeCtd time_ctd() {
    bool pass = store.smode == 0 && support::file_exists(store.data_file_name);
    return pass ? read_time_mode_ctd() : TimeModeCtd{};
  }

  static ExportedProfile profile(int width = 1) {
    return exported_profile(station(), time_ctd(), width);
  }

  // Text split at its line ends (CR LF); no empty piece after the last one.
  static std::vector<std::string> lines_of(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
      lines.push_back(text.substr(start, end - start));
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
  }

  static std::vector<std::string> cells_of(const std::string& line, char separator = '\t') {
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t end; (end = line.find(separator, start)) != std::string::npos; start = end + 1) {
      cells.push_back(line.substr(start, end - start));
    }
    cells.push_back(line.substr(start));
    return cells;
  }

  static size_t count_of(const std::string& text, const std::string& piece) {
    size_t n = 0;
    for (size_t at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) ++n;
    return n;
  }

  std::string scratch(const std::string& name) const { return scratch_.path() + name; }

  support::ScratchDir scratch_;
  std::vector<std::string> arguments_;
};

}  // namespace veka
