// Fuzz target: every input is a recording (optionally led by a line of
// argument overrides, see harness.h) that goes through the whole per-file
// pipeline in a temporary folder, with the console in memory and no operator.
// A fatal error or the program stop is an ordinary outcome; a crash, hang,
// leak or sanitizer report is a fault.
//
// Floating-point traps stay off here (a trap would end the fuzzing process),
// so a damaged file runs on with inf and NaN where the program would stop.
//
// Build (clang 14, from the repository root):
//   cmake -S fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ && cmake --build build-fuzz -j2
// Run (one process; new inputs go to the first folder, the committed seeds
// are read from the second):
//   mkdir -p build-fuzz/corpus
//   build-fuzz/fuzz_pipeline -timeout=10 -max_len=65536 -dict=fuzz/pipeline.dict \
//     -max_total_time=1800 build-fuzz/corpus fuzz/corpus
// Reports are synced to the disk before they get their names; with
// TMPDIR=/dev/shm the fuzzer's temporary folder is in memory and that costs
// nothing.
// Replay one input (a crash file, or a file of fuzz/regressions):
//   build-fuzz/fuzz_pipeline crash-...
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "harness.h"

namespace {

std::string make_folder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vekafuzz-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern + "/";
}

const std::string& folder() {
  static const std::string name = make_folder();
  return name;
}

void remove_folder() {
  std::error_code ignored;
  std::filesystem::remove_all(folder(), ignored);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  folder();
  std::atexit(remove_folder);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  veka::fuzz::run_recording(std::string_view(reinterpret_cast<const char*>(data), size), folder());
  return 0;
}
