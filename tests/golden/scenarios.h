// The golden scenarios: simulated (or bundled) recordings with the command
// lines that process them, shared by every test that runs the whole program
// on them.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace veka {

struct Scenario {
  std::string name;
  std::vector<std::string> simulator_options;   // without --out and --args
  std::string data_set;                         // the recording is in/<data_set>1.dat
  std::map<int, std::string> argument_changes;  // on top of the simulator's line
  std::string operator_input;                   // lines for the waits
  std::string bundled_recording;                // used instead of simulating, if given
};

const std::vector<Scenario>& scenarios();

// Names a scenario in test output.
void PrintTo(const Scenario& scenario, std::ostream* out);

// Writes the recording(s) into in/ and returns the processing command line
// (entry 0 is the program), with folders relative to the scratch folder.
std::vector<std::string> prepare(const Scenario& scenario, const std::string& scratch);

// The reviewed outputs of a scenario: every file of the output folder,
// console.txt with the console text and the exit code, and inputs.sha256.
std::string golden_folder(const Scenario& scenario);

// The simulator makes the recordings afresh for every run. Their hashes
// (inputs.sha256, as sha256sum writes them) are kept with the reviewed
// outputs, so that a change of the simulator shows as changed inputs
// instead of changing inputs and expectations together.
std::string input_hashes(const std::string& scratch);

// The files of a folder by name, with their contents.
std::map<std::string, std::string> output_files(const std::string& folder);

}  // namespace veka
