// vekasim: writes simulated recordings of the VEKA counter for tests,
// benchmarks and the bundled sample (see --help).
#include <cstdio>
#include <exception>
#include <iostream>

#include "vekasim/options.h"
#include "vekasim/scenario.h"

namespace {

int print_processing_arguments(const vekasim::Options& options) {
  // The time-count range of a tow is known only once the recording is
  // made, so it is made once more without a file.
  const std::vector<vekasim::OutputFile> files = vekasim::output_files(options);
  vekasim::RecordingSink counter("", options.crlf);
  const vekasim::RecordingSummary summary = vekasim::write_recording(
      vekasim::plan_recording(options, files.front().file_number), counter);
  std::cout << vekasim::processing_arguments(options, summary) << '\n';
  return 0;
}

int write_recordings(const vekasim::Options& options) {
  for (const vekasim::OutputFile& file : vekasim::output_files(options)) {
    vekasim::RecordingSink sink(file.path,
                                options.crlf || options.scenario == vekasim::Scenario::damaged);
    vekasim::write_recording(vekasim::plan_recording(options, file.file_number), sink);
    sink.close();
  }
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  try {
    const vekasim::Options options = vekasim::parse_options(argc, argv);
    if (options.help) {
      std::fputs(vekasim::kHelpText, stdout);
      return 0;
    }
    return options.print_arguments ? print_processing_arguments(options)
                                   : write_recordings(options);
  } catch (const vekasim::UsageError& error) {
    std::cerr << "vekasim: " << error.what() << '\n';
    return 2;
  } catch (const std::exception& error) {
    std::cerr << "vekasim: " << error.what() << '\n';
    return 1;
  }
}
