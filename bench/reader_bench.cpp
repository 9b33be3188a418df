// Throughput of the data-file reader on two long simulated recordings of
// about 100 MB each, written once to the temporary folder:
// - a time-mode tow: SEP blocks every half second with MEP element lines
//   between them; no pass reads its CTD lines;
// - a depth-mode tow-yo over a time range: the same, and every CTD line is
//   read in all three passes.
// Each is measured whole (all passes, from the loaded file to the end of
// data, at the file's size over the time) and in its main pass alone (its
// share of the file over its time). Peak memory is the resident set of the
// whole process (store and loaded file included).
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "common/console.h"
#include "driver/file_defaults.h"
#include "driver/run_parameters.h"
#include "reader/reader.h"
#include "store/store.h"

namespace veka {

namespace {

constexpr size_t kTargetBytes = 100u << 20;

// A small deterministic generator, so that every run reads the same file.
class Noise {
 public:
  uint32_t next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  double unit() { return next() / 4294967296.0; }

 private:
  uint32_t state_ = 2463534242u;
};

void append_ctd_line(std::string& out, double depth, double t, Noise& noise) {
  char line[96];
  int n = std::snprintf(line, sizeof line, "C %.3f %.3f %.3f %.3f %.3f\n", depth,
                        33.0 + noise.unit() * 0.2, t, 31.2 + noise.unit() * 0.1, noise.unit());
  out.append(line, static_cast<size_t>(n));
}

void append_sep_block(std::string& out, int32_t tctr, Noise& noise) {
  for (int k = 1; k <= 4; ++k) {
    out += 'L';
    out += static_cast<char>('0' + k);
    for (int c = 1; c <= 32; ++c) {
      int channel = 32 * (k - 1) + c;
      // Counts fall off steeply with size, as plankton does.
      int count = static_cast<int>(noise.unit() * 400.0 / (channel * channel / 8.0 + 1.0));
      out += ' ';
      out += std::to_string(count);
    }
    out += '\n';
  }
  out += "L5 " + std::to_string(noise.next() % 100) + " 3 " + std::to_string(tctr) + " " +
         std::to_string(30 + noise.next() % 20) + " " + std::to_string(600 + noise.next() % 80) +
         " 1 2\n";
}

void append_mep_particle(std::string& out, int32_t time, Noise& noise) {
  int elements = 2 + static_cast<int>(noise.next() % 4);
  int first = 10 + static_cast<int>(noise.next() % 20);
  for (int e = 0; e < elements; ++e) {
    int size = 200 + static_cast<int>(noise.next() % 800) + (e == 0 ? 32768 : 0);
    out += "M " + std::to_string(first + e) + " " + std::to_string((time + e) % 65536) + " " +
           std::to_string(5 + noise.next() % 20) + " " + std::to_string(size) + "\n";
  }
}

// `depth_of(block)` gives the depth of the CTD lines before a block.
std::string simulated_tow(const std::function<double(int32_t)>& depth_of) {
  std::string out = "# simulated tow\n";
  for (int i = 0; i < 45; ++i) out += "* header line\n";
  Noise noise;
  for (int32_t block = 1; out.size() < kTargetBytes; ++block) {
    double depth = depth_of(block);
    for (int scan = 0; scan < 12; ++scan) {
      append_ctd_line(out, depth + scan * 0.004, 12.0 - depth / 50.0, noise);
    }
    append_sep_block(out, block, noise);
    if (block % 3 == 0) append_mep_particle(out, block * 7, noise);
  }
  return out;
}

std::vector<std::string> tow_arguments(const std::string& folder, const char* mode) {
  // clang-format off
  std::vector<std::string> args = {
      "vekaproc", folder, "B", folder, mode, "1", "999999", "0", "0", "b1", "0", "24",
      "D", "C", "T", "S", "A1", "x", "x", "x", "x", "x", "x",
      "1", "1.0", "1", "1", "0",
      "0.5", "2.0", "2.0", "5.0", "5.0", "30.0",
      "0.2", "1.0", "0.5", "2.0", "0.3", "3.0",
      "0.5", "2.0", "1.0", "3.0", "3.0", "20.0",
      "100", "250", "250", "500", "500", "1000", "1000", "2000", "2000", "4000",
      "0", "1", "1", "0", "0", "0"};
  // clang-format on
  return args;
}

// The recording's file lives as long as the benchmark program.
struct Recording {
  Recording(const char* name, const char* data_mode, const std::function<double(int32_t)>& depth_of)
      : folder(std::string("/tmp/vekabench-") + name + "-" + std::to_string(getpid()) + "/"),
        mode(data_mode) {
    std::string content = simulated_tow(depth_of);
    bytes = content.size();
    if (mkdir(folder.c_str(), 0700) != 0) std::abort();
    std::FILE* file = std::fopen(file_name().c_str(), "wb");
    if (file == nullptr || std::fwrite(content.data(), 1, bytes, file) != bytes) std::abort();
    std::fclose(file);
  }
  ~Recording() {
    std::remove(file_name().c_str());
    rmdir(folder.c_str());
  }
  std::string file_name() const { return folder + "B1.dat"; }

  std::string folder;
  std::string mode;
  size_t bytes = 0;
};

const Recording& time_tow() {
  static const Recording recording("time", "1", [](int32_t) { return 20.0; });
  return recording;
}

const Recording& depth_tow_yo() {
  static const Recording recording(
      "depth", "0", [](int32_t block) { return 105.0 + 100.0 * std::sin(block / 400.0); });
  return recording;
}

// Sets up the store as the driver does before the reader.
void prepare(const Recording& recording) {
  store.arguments = tow_arguments(recording.folder, recording.mode.c_str());
  store.file_number = 1;
  reset_store();
  store.file_number_text = "1";
  read_run_parameters();
  prepare_file_defaults();
  initialise_reader();
}

double peak_memory_mb() {
  struct rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss / 1024.0;
}

// All passes of the reader, from the file loaded to the end of data; the
// byte rate is the file's size over the time.
void whole_reader(benchmark::State& state, const Recording& recording) {
  console::Capture quiet;
  for (auto _ : state) {
    state.PauseTiming();
    prepare(recording);
    state.ResumeTiming();
    find_start();
    handle_start();
    read_main_pass();
    finish_reading();
  }
  state.SetBytesProcessed(static_cast<int64_t>(recording.bytes * state.iterations()));
  state.counters["file_MB"] = recording.bytes / 1048576.0;
  state.counters["peak_MB"] = peak_memory_mb();
}

void main_pass(benchmark::State& state, const Recording& recording) {
  console::Capture quiet;
  size_t bytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    prepare(recording);
    find_start();
    handle_start();
    size_t start = store.data_file.position();
    state.ResumeTiming();
    read_main_pass();
    bytes += store.data_file.position() - start;
  }
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
  state.counters["peak_MB"] = peak_memory_mb();
}

void BM_TimeTowReader(benchmark::State& state) {
  whole_reader(state, time_tow());
}
void BM_TimeTowMainPass(benchmark::State& state) {
  main_pass(state, time_tow());
}
void BM_DepthTowYoReader(benchmark::State& state) {
  whole_reader(state, depth_tow_yo());
}
void BM_DepthTowYoMainPass(benchmark::State& state) {
  main_pass(state, depth_tow_yo());
}

BENCHMARK(BM_TimeTowReader)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_TimeTowMainPass)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DepthTowYoReader)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DepthTowYoMainPass)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

}  // namespace veka
