// vekasim: writes simulated recordings of the VEKA counter for tests,
// benchmarks and the bundled sample (see --help).
#include <cstdio>
#include <exception>
#include <iomanip>
#include <iostream>

#include "vekasim/options.h"
#include "vekasim/scenario.h"

namespace {

// What a recording holds is known only once it is made, so it is made once
// more without a file.
vekasim::RecordingSummary summarise(const vekasim::Options& options) {
  const std::vector<vekasim::OutputFile> files = vekasim::output_files(options);
  vekasim::RecordingSink counter("", options.crlf);
  return vekasim::write_recording(vekasim::plan_recording(options, files.front().file_number),
                                  counter);
}

int print_processing_arguments(const vekasim::Options& options) {
  std::cout << vekasim::processing_arguments(options, summarise(options)) << '\n';
  return 0;
}

int print_summary(const vekasim::Options& options) {
  const vekasim::RecordingSummary s = summarise(options);
  std::cout << std::fixed << std::setprecision(3) << "frames " << s.frames << "\ntime_counts "
            << s.first_time_count << ' ' << s.last_time_count << "\nctd_scans " << s.ctd_scans
            << "\ndepths " << s.shallowest << ' ' << s.deepest << "\ndeepest_time_count "
            << s.deepest_time_count << "\nmep_records " << s.mep_records << '\n';
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
    if (options.print_summary) return print_summary(options);
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
