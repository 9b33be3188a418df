// Small recordings for the reader's tests, and a fixture that reads one as
// data file W1.dat after the run parameters and file defaults, as the batch
// driver does.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/console.h"
#include "driver/file_defaults.h"
#include "driver/run_parameters.h"
#include "reader/reader.h"
#include "store/store.h"
#include "support/support.h"

namespace veka::reader_test {

// A header block: the "#" line and 45 comment lines.
inline std::string header() {
  std::string text = "# test recording\n";
  for (int i = 1; i <= 45; ++i) text += "* header line " + std::to_string(i) + "\n";
  return text;
}

// A CTD line in the letter order D, C, T, S, A1 of the standard arguments.
inline std::string ctd(double depth, double t = 10.0, double c = 33.0) {
  char line[96];
  std::snprintf(line, sizeof line, "C %.3f %.3f %.3f 31.000 0.500\n", depth, c, t);
  return line;
}

inline std::string ctd_lines(double depth, int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += ctd(depth);
  return text;
}

// Depths from `first` to `last` in steps of `step` (negative going up),
// one CTD line each.
inline std::string cast(double first, double last, double step) {
  std::string text;
  int n = static_cast<int>((last - first) / step + 0.5);
  for (int i = 0; i <= n; ++i) text += ctd(first + step * i);
  return text;
}

inline std::string count_line(int k, const std::vector<std::pair<int, int>>& counts = {}) {
  std::string text = "L" + std::to_string(k);
  for (int c = 32 * (k - 1) + 1; c <= 32 * k; ++c) {
    int count = 0;
    for (const auto& [channel, value] : counts) {
      if (channel == c) count = value;
    }
    text += " " + std::to_string(count);
  }
  return text + "\n";
}

inline std::string l5_line(int tctr, int flow_count = 40, int flow_time = 640) {
  return "L5 1 2 " + std::to_string(tctr) + " " + std::to_string(flow_count) + " " +
         std::to_string(flow_time) + " 6 7\n";
}

// An SEP block with the given (channel, count) pairs and time count.
inline std::string sep_block(int tctr, const std::vector<std::pair<int, int>>& counts = {},
                             int flow_count = 40) {
  std::string text;
  for (int k = 1; k <= 4; ++k) text += count_line(k, counts);
  return text + l5_line(tctr, flow_count);
}

class ReaderRun : public ::testing::Test {
 protected:
  ReaderRun() : args(support::standard_arguments(dir.path(), "W", dir.path())) {}

  // Reads `content` from a fresh store; returns the reader's console output.
  std::string read(const std::string& content) {
    support::write_file(file_name(), content);
    prepare();
    console::Capture capture;
    read_data_file();
    waits = capture.waits();
    return capture.text();
  }
  void prepare() {
    reset_store();
    support::load_arguments(args);
    store.file_number_text = "1";
    console::Capture setup;
    read_run_parameters();
    prepare_file_defaults();
  }
  std::string file_name() const { return dir.path() + "W1.dat"; }
  // The closing lines after the end line.
  std::string closing(int start_index, int end_index) const {
    char dints[64];
    std::snprintf(dints, sizeof dints, " Found End-of-file - Finished    Dints%8d Dinte%8d\r\n",
                  start_index, end_index);
    return dints + std::string("\r\n") + std::string(34, ' ') + file_name() + "\r\n";
  }
  // Depth steps over a time range: no detection, start at time count 100.
  void use_depth_steps() {
    args[4] = "0", args[5] = "100", args[6] = "200", args[7] = "0", args[8] = "0";
  }

  support::ScratchDir dir;
  std::vector<std::string> args;
  int waits = 0;
};

}  // namespace veka::reader_test
