// Runs the built simulator and reads its recordings back the way the
// processing reads them: its pre-scan, the line layouts, the flow and the
// multi-element records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/console.h"
#include "driver/file_defaults.h"
#include "store/store.h"

namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr int kHeaderLines = 46;

int run_vekasim(const std::string& arguments, const fs::path& stdout_file = "/dev/null") {
  const std::string command =
      std::string(VEKASIM_PATH) + ' ' + arguments + " > " + stdout_file.string() + " 2>/dev/null";
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Lines without their LF; a final LF gives a last empty line, as a reader
// meets the end of the file.
Lines split_lines(const std::string& text) {
  Lines lines;
  std::size_t start = 0, end;
  while ((end = text.find('\n', start)) != std::string::npos) {
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  lines.push_back(text.substr(start));
  return lines;
}

Lines split_words(const std::string& line) {
  Lines words;
  std::size_t start = 0, end;
  while ((end = line.find(' ', start)) != std::string::npos) {
    words.push_back(line.substr(start, end - start));
    start = end + 1;
  }
  words.push_back(line.substr(start));
  return words;
}

bool is_count(const std::string& word) {
  return !word.empty() && std::all_of(word.begin(), word.end(), ::isdigit);
}

bool is_value(const std::string& word) {
  char* end = nullptr;
  std::strtod(word.c_str(), &end);
  return !word.empty() && *end == '\0';
}

std::vector<double> values(const std::string& line) {
  std::vector<double> numbers;
  const Lines words = split_words(line);
  for (std::size_t i = 1; i < words.size(); ++i) numbers.push_back(std::atof(words[i].c_str()));
  return numbers;
}

// The processing's own pre-scan of the sample records.
double pre_scan_sample_records(const fs::path& recording) {
  veka::reset_store();
  veka::store.exp_sp = 1.0;
  veka::store.data_file_name = recording.string();
  veka::console::Capture quiet;
  veka::prepare_file_defaults();
  return veka::store.sample_record_count;
}

long frames_written(const Lines& lines) {
  return std::count_if(lines.begin(), lines.end(),
                       [](const std::string& l) { return l.rfind("L5", 0) == 0; });
}

struct Particle {
  std::vector<std::vector<double>> records;  // element, time, duration, size (flag removed)
};

std::vector<Particle> particles(const Lines& lines) {
  std::vector<Particle> found;
  for (const std::string& line : lines) {
    if (line.empty() || line[0] != 'M') continue;
    std::vector<double> record = values(line);
    if (record[3] > 32000) {
      record[3] -= 32768;
      found.emplace_back();
    }
    if (!found.empty()) found.back().records.push_back(record);
  }
  return found;
}

class Vekasim : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = fs::temp_directory_path() / ("vekasim_test_" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    for (const char* scenario : {"descent", "ascent", "tow", "damaged"}) {
      ASSERT_EQ(run_vekasim(std::string("--scenario ") + scenario + " --seed 11 --depth 60 --out " +
                            (folder_ / (std::string(scenario) + "1.dat")).string()),
                0)
          << scenario;
    }
  }
  static void TearDownTestSuite() { fs::remove_all(folder_); }

  static fs::path recording_path(const std::string& scenario) {
    return folder_ / (scenario + "1.dat");
  }
  static Lines recording(const std::string& scenario) {
    return split_lines(read_file(recording_path(scenario)));
  }

  static fs::path folder_;
};

fs::path Vekasim::folder_;

const char* const kCleanScenarios[] = {"descent", "ascent", "tow"};

TEST_F(Vekasim, PreScanCountsEveryFrameWritten) {
  for (const char* scenario : kCleanScenarios) {
    const Lines lines = recording(scenario);
    const long frames = frames_written(lines);
    EXPECT_GT(frames, 100) << scenario;
    EXPECT_EQ(pre_scan_sample_records(recording_path(scenario)), frames) << scenario;
  }
}

TEST_F(Vekasim, HeaderHasFortySixLinesAndOneLatitudeLine) {
  const Lines lines = recording("descent");
  ASSERT_GT(lines.size(), kHeaderLines + 4u);
  EXPECT_EQ(lines[0][0], '#');
  std::vector<int> latitude_lines;
  for (int i = 1; i < kHeaderLines; ++i) {
    ASSERT_TRUE(lines[i][0] == '*' || lines[i][0] == '#') << "line " << i + 1;
    if (lines[i].size() >= 6 && lines[i][4] == 'L' && lines[i][5] == 'a')
      latitude_lines.push_back(i);
  }
  // Readers skip 10 lines after the first blindly, and skip the two lines
  // after the latitude line; both must stay inside the header.
  ASSERT_EQ(latitude_lines.size(), 1u);
  EXPECT_GE(latitude_lines[0], 11);
  EXPECT_LT(latitude_lines[0], kHeaderLines - 3);
  // The data open with CTD scans, which readers skip first.
  for (int i = kHeaderLines; i < kHeaderLines + 4; ++i)
    EXPECT_EQ(lines[i][0], 'C') << "line " << i + 1;
}

// Every data line has the fields, separators and widths the tokenizers
// read, and CTD values stay below the reader's implausibility limits.
TEST_F(Vekasim, DataLinesHaveTheLayoutReadersExpect) {
  for (const char* scenario : kCleanScenarios) {
    const Lines lines = recording(scenario);
    char previous_sep = '5';
    for (std::size_t i = kHeaderLines; i + 1 < lines.size(); ++i) {
      const std::string& line = lines[i];
      SCOPED_TRACE(std::string(scenario) + " line " + std::to_string(i + 1) + ": " + line);
      ASSERT_FALSE(line.empty());
      const Lines words = split_words(line);
      if (line[0] == 'C') {
        ASSERT_EQ(words.size(), 6u);
        for (std::size_t k = 1; k < words.size(); ++k) {
          EXPECT_TRUE(is_value(words[k]));
          EXPECT_LE(words[k].size(), 8u);
        }
        const std::vector<double> v = values(line);
        EXPECT_GE(v[0], 0.3);
        EXPECT_LT(v[1], 50.0);
        EXPECT_LT(v[2], 35.0);
      } else if (line[0] == 'L') {
        const char number = line[1];
        ASSERT_EQ(number, previous_sep == '5' ? '1' : previous_sep + 1);
        previous_sep = number;
        ASSERT_EQ(words.size(), number == '5' ? 8u : 33u);
        for (std::size_t k = 1; k < words.size(); ++k) EXPECT_TRUE(is_value(words[k]));
        if (number != '5') {
          for (std::size_t k = 1; k < words.size(); ++k) EXPECT_TRUE(is_count(words[k]));
        }
      } else if (line[0] == 'M') {
        ASSERT_EQ(words.size(), 5u);
        for (std::size_t k = 1; k < words.size(); ++k) EXPECT_TRUE(is_count(words[k]));
      } else {
        FAIL() << "unexpected line kind";
      }
      ASSERT_TRUE(previous_sep == '5' || line[0] == 'L') << "frame interrupted";
    }
    EXPECT_TRUE(lines.back().empty()) << "last line ends with a line feed";
  }
}

double median(std::vector<double> x) {
  std::nth_element(x.begin(), x.begin() + x.size() / 2, x.end());
  return x[x.size() / 2];
}

// Flow time / flow count is the transit count; it must lie on the speed
// curves (3..210) and match the tow speed: about 16 at 1 m/s, 9 at 2 m/s.
TEST_F(Vekasim, TransitCountsMatchTheTowSpeed) {
  const std::map<std::string, std::pair<double, double>> expected_median = {
      {"descent", {12.0, 30.0}}, {"tow", {8.0, 10.0}}};
  for (const auto& [scenario, band] : expected_median) {
    std::vector<double> transit_counts;
    int still_frames = 0;
    for (const std::string& line : recording(scenario)) {
      if (line.rfind("L5", 0) != 0) continue;
      const std::vector<double> v = values(line);
      if (v[3] == 0) {
        EXPECT_EQ(v[4], 0) << line;
        ++still_frames;
        continue;
      }
      transit_counts.push_back(v[4] / v[3]);
      EXPECT_GE(transit_counts.back(), 3.0) << line;
      EXPECT_LE(transit_counts.back(), 210.0) << line;
    }
    ASSERT_GT(transit_counts.size(), 100u);
    EXPECT_GT(median(transit_counts), band.first) << scenario;
    EXPECT_LT(median(transit_counts), band.second) << scenario;
    if (scenario == "descent") {
      EXPECT_GT(still_frames, 0) << "a soaking instrument stops the flow meter";
    }
  }
}

double element_diameter_um(double size) {
  return 54.58634681 + 0.507553898 * size - 7.459811e-05 * size * size +
         4.88e-09 * size * size * size;
}

constexpr double kTowTransitCount = 9.0;  // at 2 m/s

// Particles are grouped by the start flag of their first written record,
// which is their highest element; the rest follow downwards.
TEST_F(Vekasim, MepRecordsFormPlausibleParticles) {
  const Lines lines = recording("tow");
  const std::vector<Particle> found = particles(lines);
  ASSERT_GT(found.size(), 500u);
  int implausible = 0, analysable = 0, wraps = 0;
  double previous_time = found.front().records.front()[1];
  for (const Particle& p : found) {
    const auto& r = p.records;
    bool plausible = r.size() <= 30;
    double earliest = r[0][1], latest = r[0][1];
    for (std::size_t k = 0; k < r.size(); ++k) {
      plausible = plausible && r[k][3] > 0 && r[k][3] <= 4096 && r[k][2] <= 1000 &&
                  (k == 0 || r[k][0] == r[k - 1][0] - 1);
      earliest = std::min(earliest, r[k][1]);
      latest = std::max(latest, r[k][1]);
      EXPECT_LE(r[k][1], 65535);
    }
    if (!plausible) {
      ++implausible;
      continue;
    }
    EXPECT_LE(latest - earliest, 1450) << "element times of one particle lie close together";
    if (r.front()[1] + 3000 < previous_time) ++wraps;
    previous_time = r.front()[1];
    // What the analysis needs to accept a particle: 3..30 elements and a
    // mean 1/area below 200 per mm2 over the long inner elements.
    double inverse_area = 0.0;
    int long_inner = 0;
    for (std::size_t k = 1; k + 1 < r.size(); ++k) {
      if (r[k][2] <= 1.5 * kTowTransitCount) continue;
      const double d_mm = element_diameter_um(r[k][3]) / 1000.0;
      inverse_area += 1.0 / (3.14 / 4.0 * d_mm * d_mm);
      ++long_inner;
    }
    if (r.size() >= 3 && long_inner > 0 && inverse_area / long_inner < 200.0) ++analysable;
  }
  EXPECT_GT(wraps, 10) << "16-bit time stamps wrap every few seconds";
  const double implausible_share = static_cast<double>(implausible) / found.size();
  EXPECT_GT(implausible_share, 0.005);
  EXPECT_LT(implausible_share, 0.05);
  EXPECT_GT(analysable, 20);
}

TEST_F(Vekasim, SameSeedGivesSameBytesAndAnotherSeedDiffers) {
  const fs::path again = folder_ / "again1.dat", other = folder_ / "other1.dat";
  ASSERT_EQ(run_vekasim("--scenario descent --seed 11 --depth 60 --out " + again.string()), 0);
  ASSERT_EQ(run_vekasim("--scenario descent --seed 12 --depth 60 --out " + other.string()), 0);
  const std::string first = read_file(folder_ / "descent1.dat");
  EXPECT_EQ(read_file(again), first);
  EXPECT_NE(read_file(other), first);
}

using Tally = std::map<std::string, int>;

// What the CTD checks of a reader look at: the number of values, value
// lengths, runs of short lines, depth jumps after the first 2 s at 25 Hz
// and implausible temperatures and conductivities.
void tally_ctd_damage(const Lines& ctd_lines, Tally& seen) {
  int short_run = 0, longest_short_run = 0;
  double previous_depth = -1.0;
  for (std::size_t i = 0; i < ctd_lines.size(); ++i) {
    const Lines words = split_words(ctd_lines[i]);
    seen["CTD extra value"] += words.size() > 6;
    seen["CTD ends after separator"] += words.size() == 5 && words.back().empty();
    seen["CTD ends in value"] += words.size() == 4;
    for (const std::string& w : words) seen["CTD value of 13+ characters"] += w.size() >= 13;
    short_run = words.size() < 6 ? short_run + 1 : 0;
    longest_short_run = std::max(longest_short_run, short_run);
    if (words.size() < 6) continue;
    const std::vector<double> v = values(ctd_lines[i]);
    seen["depth spike"] += i > 50 && previous_depth >= 0 && std::fabs(v[0] - previous_depth) > 3.0;
    previous_depth = v[0];
    seen["temperature above 35"] += v[2] > 35.0;
    seen["conductivity above 50"] += v[1] > 50.0;
  }
  seen["more than 20 short CTD lines in a row"] += longest_short_run > 20;
}

void tally_sep_damage(const std::string& line, const std::string& line_before, Tally& seen) {
  if (line_before[0] == 'L' && line_before[1] >= '1' && line_before[1] <= '4') {
    seen["line after L1..L4 not L"] += line[0] != 'L';
  }
  if (line[0] != 'L') return;
  const std::size_t words = split_words(line).size();
  const bool status = line[1] == '5';
  seen["bad SEP line number"] += line[1] >= '6' && line[1] <= '9';
  seen["blank SEP line number"] += line[1] == ' ';
  seen["character after SEP line number"] += !status && line[2] != ' ';
  seen["L1 with 31 counts"] += line[1] == '1' && words == 32;
  seen["SEP double blank"] += !status && line.find("  ", 2) != std::string::npos;
  seen["character after L5"] += status && line[2] != ' ';
  seen["L5 with fewer values"] += status && words < 8;
  seen["L5 ending in empty value"] += status && line.back() == ' ';
}

void tally_mep_damage(const std::string& line, Tally& seen) {
  if (line[0] != 'M') return;
  seen["character after M"] += line[1] != ' ';
  seen["MEP double blank"] += line.find("  ") != std::string::npos;
  seen["MEP three fields"] += split_words(line).size() == 4;
}

// Each damage triggers one of the reader's checks.
TEST_F(Vekasim, DamagedRecordingHoldsEveryKindOfDamage) {
  Lines lines = recording("damaged");
  for (std::size_t i = 0; i + 1 < lines.size(); ++i) {
    ASSERT_FALSE(lines[i].empty());
    ASSERT_EQ(lines[i].back(), '\r') << "CR LF at line " << i + 1;
    lines[i].pop_back();
  }
  Tally seen;
  Lines ctd_lines;
  for (std::size_t i = kHeaderLines; i + 1 < lines.size(); ++i) {
    if (lines[i][0] == 'C') ctd_lines.push_back(lines[i]);
    tally_sep_damage(lines[i], lines[i - 1], seen);
    tally_mep_damage(lines[i], seen);
  }
  tally_ctd_damage(ctd_lines, seen);
  for (const char* kind : {"CTD extra value",
                           "CTD ends after separator",
                           "CTD ends in value",
                           "CTD value of 13+ characters",
                           "more than 20 short CTD lines in a row",
                           "depth spike",
                           "temperature above 35",
                           "conductivity above 50",
                           "bad SEP line number",
                           "blank SEP line number",
                           "character after SEP line number",
                           "L1 with 31 counts",
                           "SEP double blank",
                           "line after L1..L4 not L",
                           "character after L5",
                           "L5 with fewer values",
                           "L5 ending in empty value",
                           "character after M",
                           "MEP double blank",
                           "MEP three fields"}) {
    EXPECT_GT(seen[kind], 0) << kind;
  }
  EXPECT_EQ(split_words(ctd_lines[100]).size(), 6u) << "the damage comes after the cast starts";
}

TEST_F(Vekasim, ArgumentLineNamesTheRecordingAndItsTimeRange) {
  const fs::path printed = folder_ / "arguments.txt";
  ASSERT_EQ(run_vekasim("--scenario tow --seed 11 --depth 60 --args --out " +
                            (folder_ / "tow1.dat").string(),
                        printed),
            0);
  Lines arguments = split_words(split_lines(read_file(printed)).front());
  ASSERT_EQ(arguments.size(), 61u);
  arguments.insert(arguments.begin(), "vekaproc");  // number them as the processing does
  EXPECT_EQ(arguments[1], folder_.string() + "/");
  EXPECT_EQ(arguments[2], "tow");
  EXPECT_EQ(arguments[4], "1");
  EXPECT_EQ(arguments[11], "24");
  EXPECT_EQ((Lines{arguments.begin() + 12, arguments.begin() + 17}),
            (Lines{"D", "C", "T", "S", "A1"}));
  EXPECT_EQ(arguments[24], "2.0");
  EXPECT_EQ(arguments[57], "1");
  EXPECT_EQ(arguments[58], "1");
  // The time-count range must hold counts that the reader meets.
  std::vector<std::string> time_counts;
  for (const std::string& line : recording("tow")) {
    if (line.rfind("L5", 0) == 0) time_counts.push_back(split_words(line)[3]);
  }
  const auto first = std::find(time_counts.begin(), time_counts.end(), arguments[5]);
  const auto last = std::find(time_counts.begin(), time_counts.end(), arguments[6]);
  ASSERT_NE(first, time_counts.end());
  ASSERT_NE(last, time_counts.end());
  EXPECT_GT(last - first, 1000) << "the 600 s tow at depth is analysed";
  EXPECT_GT(first - time_counts.begin(), 60) << "the soak and pay-out are left out";
}

TEST_F(Vekasim, SeriesWritesNumberedCastsWithoutLeadingZeros) {
  const fs::path prefix = folder_ / "HS";
  ASSERT_EQ(
      run_vekasim("--scenario series --files 3 --first 9 --depth 30 --out " + prefix.string()), 0);
  const std::string nine = read_file(folder_ / "HS9.dat");
  const std::string ten = read_file(folder_ / "HS10.dat");
  EXPECT_FALSE(nine.empty());
  EXPECT_FALSE(ten.empty());
  EXPECT_TRUE(fs::exists(folder_ / "HS11.dat"));
  EXPECT_FALSE(fs::exists(folder_ / "HS009.dat"));
  EXPECT_NE(nine.substr(5000, 2000), ten.substr(5000, 2000)) << "each file is its own cast";
}

TEST_F(Vekasim, LargeRecordingStopsAtTheRequestedSize) {
  const fs::path large = folder_ / "big1.dat";
  ASSERT_EQ(run_vekasim("--scenario large --size 2 --out " + large.string()), 0);
  const auto bytes = fs::file_size(large);
  EXPECT_GE(bytes, 2u << 20);
  EXPECT_LT(bytes, (2u << 20) + 4096);
  EXPECT_EQ(pre_scan_sample_records(large), frames_written(split_lines(read_file(large))))
      << "no frame is cut short";
}

TEST_F(Vekasim, RejectsABadCommandLineWithExitCodeTwo) {
  EXPECT_EQ(run_vekasim("--scenario sideways --out x1.dat"), 2);
  EXPECT_EQ(run_vekasim("--scenario descent --depth deep --out x1.dat"), 2);
  EXPECT_EQ(run_vekasim("--scenario descent --scan-rate 30 --out x1.dat"), 2);
  EXPECT_EQ(
      run_vekasim("--scenario descent --out " + (folder_ / "no" / "such" / "x1.dat").string()), 1);
}

}  // namespace
